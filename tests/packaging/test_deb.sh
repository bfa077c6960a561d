#!/usr/bin/env bash
# Builds the Debian package with cpack and inspects it: the control file (name, version,
# the run-time dependencies) and the contents (paths, modes, owner).
#   test_deb.sh BUILD_DIR VERSION APP_ID
set -uo pipefail
build=$1 version=$2 id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FALHA: $*" >&2; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; exit 1; }
arch=$(dpkg --print-architecture)
deb=$work/velmora_${version}_$arch.deb
[ -f "$deb" ] || { ls "$work" >&2; echo "FALHA: $deb não foi feito" >&2; exit 1; }

# 1. Control file.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velmora ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "sem Maintainer"
description=$(field Description)
[ "$(head -1 <<<"$description")" = "catálogo de distintivos de clubes de futebol e seleções" ] ||
  fail "Description: $description"
[ "$(grep -c distintivos <<<"$description")" -ge 2 ] || fail "Description sem texto longo"
# What the binaries link (found by dpkg-shlibdeps) and what Qt loads at run time.
depends=$(field Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 \
  libqt6printsupport6 libjpeg62-turbo libqt6sql6-sqlite qt6-qpa-plugins \
  qt6-image-formats-plugins libqt6svg6 libcups2 qt6-translations-l10n \
  fonts-crosextra-carlito fonts-bebas-neue fonts-liberation fonts-dejavu-core; do
  grep -qE "(^|, )${package//+/\\+}( |,|$)" <<<"$depends" || fail "Depends sem $package: $depends"
done
grep -qE -- "-dev( |,|$)" <<<"$depends" && fail "Depends pede um pacote -dev: $depends"
# Every dependency is a package the archive knows.
for package in $(sed 's/([^)]*)//g; s/|/,/g; s/,/ /g' <<<"$depends"); do
  apt-cache show "$package" >/dev/null 2>&1 || dpkg-query -W "$package" >/dev/null 2>&1 ||
    fail "dependência desconhecida: $package"
done

# 2. Contents: where things go under /usr, executables executable, all owned by root.
dpkg-deb -c "$deb" >"$work/contents"
has() { # mode path
  grep -qE "^$1 root/root .* \./usr/$2$" "$work/contents" || fail "sem $2 ($1 root/root)"
}
for program in velmora velmora-datadir velmora-launcher; do
  has -rwxr-xr-x "bin/$program"
done
has -rw-r--r-- "share/applications/$id.desktop"
has -rw-r--r-- "share/metainfo/$id.metainfo.xml"
has -rw-r--r-- "share/icons/hicolor/scalable/apps/$id.svg"
has -rw-r--r-- "share/icons/hicolor/48x48/apps/$id.png"
has -rw-r--r-- "share/man/man1/velmora.1.gz"
has -rw-r--r-- "share/man/man1/velmora-datadir.1.gz"
has -rw-r--r-- "share/doc/velmora/copyright"
grep -vE "^[d-].* root/root " "$work/contents" | grep . && fail "entradas de outro dono"
grep -q " \./usr/local/" "$work/contents" && fail "arquivos em /usr/local"
grep -qE "tests?/|bench" "$work/contents" && fail "testes ou benchmarks no pacote"

# 3. The binaries are stripped: no debugging sections.
dpkg-deb -x "$deb" "$work/root"
for program in velmora velmora-datadir; do
  grep -q "\.debug_info" <<<"$(objdump -h "$work/root/usr/bin/$program")" &&
    fail "$program não foi reduzido (strip)"
done

# 4. Debian's own checks: not one error or warning (scripts/deps.sh installs lintian).
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian: $(grep -cE '^[EW]:' "$work/lintian.log") problema(s)"; }
else
  fail "lintian não está instalado (scripts/deps.sh o instala)"
fi

[ "$failures" -eq 0 ] || { echo "$failures falha(s)" >&2; exit 1; }
echo "pacote conferido: $(basename "$deb"), Depends: $depends"
