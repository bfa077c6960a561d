#!/usr/bin/env bash
# A spreadsheet round trip through LibreOffice Calc itself (headless; Debian's
# libreoffice-calc, not needed by the build or the tests): a sample catalogue with clubs
# whose texts a spreadsheet would take for formulas, numbers or several cells is exported,
# opened and saved as CSV by Calc with Brazilian Portuguese and English settings (UTF-8,
# and Windows-1252 for the second), imported into a new catalogue, and imported with
# --atualizar into the one it came from; every field of every club must come back as it was.
#   bash tools/calc-roundtrip.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
tool=$build/tools/velmora-datadir
command -v soffice >/dev/null || { echo "soffice não encontrado: instale libreoffice-calc" >&2; exit 2; }
[ -x "$tool" ] || { echo "$tool não existe: rode scripts/build.sh velmora-datadir" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" create "$work/origem" --sample >/dev/null
badge=$(ls "$work/origem/Distintivos" | head -1)
header='Codigo;NomeClube;NomeCompletoClube;AnoFundacao;PaisClube;UFClube;CidadeClube;IdadeClube;EscudoClube;BandeiraPais;BandeiraUF;Federacao;LogoFederacao;Identificador;Extinto;Estadio;Capacidade'
club() { # name; full name; stadium; capacity
    printf ';"%s";"%s";1950;"Brasil";"SP";"São Paulo";"";"%s";"";"";"FPF-SP";"";0;0;"%s";"%s"\r\n' \
        "$1" "$2" "$work/origem/Distintivos/$badge" "$3" "$4"
}
{
    printf '%s\r\n' "$header"
    club '=HYPERLINK(""http://x"";""y"")' 'Clube Atlético Exemplo, S.A.F.' '' '025'
    club '+Mais' 'Nome, com vírgula' '-Menos' '49.205'
    club '@SUM(1)' '' '' '10.000'
    club "'=Já neutro" "''+dois" '' '1.234,5'
    club 'Ação 1/2' '3/4' '0012' '1e5'
} >"$work/novos.csv"
"$tool" import "$work/origem" "$work/novos.csv" >/dev/null
"$tool" export "$work/origem" "$work/saida/clubes.csv" >/dev/null

# Every field of every club, picture paths less the data folder.
dump() {
    python3 - "$1" <<'PY'
import sqlite3, sys
folder = sys.argv[1]
db = sqlite3.connect(folder + "/Velmora.sqlite")
columns = [r[1] for r in db.execute("pragma table_info(Clubes)") if not r[1].endswith("Ordem")]
for row in db.execute("select %s from Clubes order by Codigo" % ", ".join(columns)):
    print("|".join("" if v is None else str(v).replace(folder + "/", "") for v in row))
PY
}
dump "$work/origem" >"$work/esperado.txt"

failures=0
check() { # label; data folder
    if dump "$2" | diff -u "$work/esperado.txt" - >"$work/diff.txt"; then
        echo "OK    $1"
    else
        echo "FALHA $1"
        head -20 "$work/diff.txt"
        failures=$((failures + 1))
    fi
}

# language id, charset id (76 UTF-8, 1 Windows-1252), the import's --codificacao
for setting in "pt-BR 1046 76 utf-8" "en-US 1033 76 utf-8" "pt-BR 1046 1 windows-1252" "en-US 1033 1 windows-1252"; do
    read -r name lang charset encoding <<<"$setting"
    label="$name, salvo em $encoding"
    out=$work/calc-$name-$charset
    mkdir -p "$out"
    # Import: ';' and ',' ticked as separators as Calc's default has them, '"' as string
    # delimiter, UTF-8, "Format quoted field as text" ticked (the one setting the README asks for).
    LC_ALL=C.UTF-8 soffice -env:UserInstallation="file://$work/perfil-$name" --headless \
        --infilter="CSV:59/44,34,76,1,,$lang,true,false" \
        --convert-to "csv:Text - txt - csv (StarCalc):59,34,$charset,1,,$lang,false,true,true" \
        --outdir "$out" "$work/saida/clubes.csv" >"$out/soffice.log" 2>&1
    ln -s "$work/saida/clubes-distintivos" "$out/clubes-distintivos"
    "$tool" create "$out/Velmora" >/dev/null
    if "$tool" import "$out/Velmora" "$out/clubes.csv" --codificacao "$encoding" >"$out/import.log" 2>&1; then
        check "$label: importado num catálogo novo" "$out/Velmora"
    else
        echo "FALHA $label: import recusou"; head -20 "$out/import.log"; failures=$((failures + 1))
    fi
    cp -r "$work/origem" "$out/Velmora-original"
    "$tool" relocate "$out/Velmora-original" >/dev/null
    if "$tool" import "$out/Velmora-original" "$out/clubes.csv" --codificacao "$encoding" --atualizar \
        >"$out/update.log" 2>&1; then
        check "$label: --atualizar no catálogo de origem" "$out/Velmora-original"
    else
        echo "FALHA $label: import --atualizar recusou"; head -20 "$out/update.log"; failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "Todos os campos voltaram iguais." || echo "$failures comparações falharam."
exit $((failures > 0))
