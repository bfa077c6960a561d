#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a desktop would: the file
# list, both validators, the man pages, the icons, the command lines and the launcher.
#   test_install.sh BUILD_DIR SOURCE_DIR VERSION APP_ID
set -uo pipefail
build=$1 source=$2 version=$3 id=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/usr
failures=0
fail() { echo "FALHA: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log" >&2; exit 1; }

# 1. Exactly these files, nothing missing and nothing stray.
expected=$(sort <<LIST
bin/velmora
bin/velmora-datadir
bin/velmora-launcher
share/applications/$id.desktop
share/metainfo/$id.metainfo.xml
share/icons/hicolor/scalable/apps/$id.svg
share/icons/hicolor/16x16/apps/$id.png
share/icons/hicolor/24x24/apps/$id.png
share/icons/hicolor/32x32/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/icons/hicolor/64x64/apps/$id.png
share/icons/hicolor/128x128/apps/$id.png
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/512x512/apps/$id.png
share/man/man1/velmora.1.gz
share/man/man1/velmora-datadir.1.gz
share/man/man1/velmora-launcher.1.gz
share/doc/velmora/LICENSE
share/doc/velmora/THIRD-PARTY-NOTICES.md
share/doc/velmora/copyright
share/doc/velmora/changelog.gz
LIST
)
actual=$(cd "$prefix" && find . -type f -printf '%P\n' | sort)
if [ "$actual" != "$expected" ]; then
  fail "arquivos instalados diferem do esperado:"
  diff <(echo "$expected") <(echo "$actual") >&2
fi
for program in velmora velmora-datadir velmora-launcher; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program não é executável"
done

# 2. The validators the desktop and the software centres use.
desktop=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate recusou $desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
  { cat "$work/as.log" >&2; fail "appstreamcli recusou o metainfo"; }

# 3. What the entries point at is there: the menu command, the icon, the desktop id.
exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$prefix/bin/$exec_cmd" ] || fail "Exec=$exec_cmd não está em bin/"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "Icon= não é $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
  "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo não aponta para $id.desktop"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "metainfo sem a versão $version"

# 4. Every PNG is the size its folder says; the SVG is an SVG.
for png in "$prefix"/share/icons/hicolor/*x*/apps/"$id".png; do
  folder=$(basename "$(dirname "$(dirname "$png")")")
  size=$(identify -format '%wx%h' "$png" 2>/dev/null)
  [ "$size" = "$folder" ] || fail "$png mede $size, não $folder"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "ícone SVG inválido"

# 5. The man pages render without a single warning, and name their program.
for page in "$prefix"/share/man/man1/*.1.gz; do
  name=$(basename "$page" .1.gz)
  warnings=$(zcat "$page" | groff -k -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$name.1: $warnings"
  grep -q "^${name//-/\\\\-} \\\\- " <<<"$(zcat "$page")" || fail "$name.1 sem a seção NOME"
done

# 6. The licence and the third-party notices, one for each source of data/SOURCES.md.
grep -q "MIT License" "$prefix/share/doc/velmora/LICENSE" || fail "LICENSE não é a MIT"
for origin in iso-flags-svg flag-icons region-flags iso-codes; do
  grep -q "$origin" "$source/data/SOURCES.md" || fail "data/SOURCES.md já não cita $origin"
  grep -q "$origin" "$prefix/share/doc/velmora/THIRD-PARTY-NOTICES.md" ||
    fail "avisos de terceiros sem $origin"
done
grep -q "Copyright (c) 2013 Panayiotis Lipiridis" "$prefix/share/doc/velmora/copyright" ||
  fail "copyright sem o aviso MIT de flag-icons"

# 7. --help and --version need no display (an unknown platform would abort a window);
#    an unknown option is exit code 2.
check_run() { # expected-code expected-text env... -- command...
  local code=$1 text=$2 out rc
  shift 2
  out=$(env "$@" 2>&1)
  rc=$?
  [ "$rc" = "$code" ] || fail "$* saiu com $rc, não $code: $out"
  grep -qF -- "$text" <<<"$out" || fail "$* não disse \"$text\": $out"
}
home=$work/home
mkdir -p "$home"
for program in velmora velmora-datadir; do
  check_run 0 "Uso: $program" HOME="$home" QT_QPA_PLATFORM=nenhuma "$prefix/bin/$program" --help
  check_run 0 "$program $version" QT_QPA_PLATFORM=nenhuma "$prefix/bin/$program" --version
  check_run 2 "Opção desconhecida" HOME="$home" QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/$program" --nao-existe
done
check_run 2 "Argumento inesperado: sobra" HOME="$home" QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/velmora" sobra
[ ! -e "$home/Velmora" ] || fail "uma opção de ajuda criou $home/Velmora"
# Without a display: a mistake on the line is still exit code 2, not an abort.
check_run 2 "Opção desconhecida" HOME="$home" QT_QPA_PLATFORM= DISPLAY= WAYLAND_DISPLAY= \
  "$prefix/bin/velmora" --nope

# 8. The menu's launcher answers --help and --version without creating anything; it
#    lays out ~/Velmora on first start, and only then.
for option in --help --version -v; do
  check_run 0 "velmora" HOME="$home" QT_QPA_PLATFORM=nenhuma \
    "$prefix/bin/velmora-launcher" "$option"
done
[ ! -e "$home/Velmora" ] || fail "velmora-launcher --help ou --version criou $home/Velmora"
check_run 2 "Pasta de dados criada em $home/Velmora" HOME="$home" QT_QPA_PLATFORM=nenhuma \
  "$prefix/bin/velmora-launcher" --nope
[ -f "$home/Velmora/Velmora.sqlite" ] || fail "o lançador não criou ~/Velmora/Velmora.sqlite"
HOME="$home" "$prefix/bin/velmora-datadir" check >/dev/null || fail "a pasta criada não passa no check"
before=$(stat -c %Y.%s "$home/Velmora/Velmora.sqlite")
out=$(HOME="$home" QT_QPA_PLATFORM=nenhuma "$prefix/bin/velmora-launcher" --version 2>&1)
[ "$out" = "velmora $version" ] || fail "segunda partida do lançador disse: $out"
[ "$(stat -c %Y.%s "$home/Velmora/Velmora.sqlite")" = "$before" ] ||
  fail "o lançador mexeu numa pasta que já existia"

# 9. The manual of velmora-datadir describes every command and option its --help lists.
manual=$(zcat "$prefix/share/man/man1/velmora-datadir.1.gz" | groff -k -man -Tutf8 2>/dev/null |
  col -b)
help=$(HOME="$home" QT_QPA_PLATFORM=nenhuma "$prefix/bin/velmora-datadir" --help)
commands=$(grep -oE '^(Uso:| +) velmora-datadir [a-z][a-z-]*' <<<"$help" | awk '{print $NF}')
[ -n "$commands" ] || fail "--help de velmora-datadir sem comandos"
for command in $commands; do # a paragraph of its own
  grep -qE "^ {7}$command( |$)" <<<"$manual" || fail "o manual de velmora-datadir não descreve $command"
done
for option in $(grep -oE -- '--[a-z]+' <<<"$help" | sort -u); do
  grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$manual" ||
    fail "o manual de velmora-datadir não cita $option"
done

[ "$failures" -eq 0 ] || { echo "$failures falha(s)" >&2; exit 1; }
echo "instalação conferida em $prefix"
