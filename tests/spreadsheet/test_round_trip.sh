#!/usr/bin/env bash
# practice.csv through a real spreadsheet program: Gnumeric's ssconvert
# opens it as a parent would, every problem cell stays the text written and
# every time a number; saved back as CSV (times lose their zeros, dates are
# written its own way, long answers get an exponent), it reads back as the
# same games and rounds. REFUEL_BUILD_DIR names the build.
set -euo pipefail
build=${REFUEL_BUILD_DIR:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/tests/refuel_practice_csv" write practice.csv
ssconvert practice.csv sheet.gnumeric 2>/dev/null
# Cells of the problem (column 4) and seconds (column 11) columns below the
# header: 60 is text, 40 a number.
cells() { zcat sheet.gnumeric | grep -o "Row=\"[1-9][0-9]*\" Col=\"$1\" ValueType=\"[0-9]*\"[^<]*<"; }
problems=$(cells 4 | grep -c 'ValueType="60"')
texts=$(cells 4 | sed 's/.*>\(.*\)</\1/' | tr '\n' '|')
seconds=$(cells 11 | grep -c 'ValueType="40"')
[ "$problems" -eq 8 ] && [ "$seconds" -eq 8 ] ||
    { echo "FAIL: $problems problem cells are text, $seconds times numbers"; exit 1; }
[ "$texts" = "12 / 3|5 - 3|3 + 4|7 x 8|1 - 1|100 + 100|12 / 3|5 - 3|" ] ||
    { echo "FAIL: the problem cells hold $texts"; exit 1; }
ssconvert sheet.gnumeric saved.csv 2>/dev/null
"$build/tests/refuel_practice_csv" read practice.csv >written.txt
"$build/tests/refuel_practice_csv" read saved.csv >saved.txt
[ "$(wc -l <written.txt)" -eq 8 ] || { echo "FAIL: $(wc -l <written.txt) rows written"; exit 1; }
diff written.txt saved.txt || { echo "FAIL: the spreadsheet's file reads otherwise"; exit 1; }
echo "ok: 8 rows through Gnumeric and back"
