#!/usr/bin/env bash
# practice.csv through real spreadsheet programs. In Gnumeric every problem
# cell stays the text written and every time a number. A file as a parent
# leaves it (a first-version game whose problems look like dates, a note
# after our columns, rows moved) is saved back by Gnumeric and LibreOffice
# Calc under an English and a German locale (',' or ';', decimal points or
# commas, dates their own way): each save must read back as the same rows,
# keep the note and take the games appended after. REFUEL_BUILD_DIR names the build.
set -euo pipefail
build=${REFUEL_BUILD_DIR:?}
tool=$build/tests/refuel_practice_csv
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }
"$tool" write practice.csv
ssconvert practice.csv sheet.gnumeric 2>/dev/null
# Cells of the problem (column 4) and seconds (column 11) columns below the
# header: 60 is text, 40 a number.
cells() { zcat sheet.gnumeric | grep -o "Row=\"[1-9][0-9]*\" Col=\"$1\" ValueType=\"[0-9]*\"[^<]*<"; }
problems=$(cells 4 | grep -c 'ValueType="60"')
texts=$(cells 4 | sed 's/.*>\(.*\)</\1/' | tr '\n' '|')
seconds=$(cells 11 | grep -c 'ValueType="40"')
[ "$problems" -eq 8 ] && [ "$seconds" -eq 8 ] || fail "$problems problem cells are text, $seconds times numbers"
[ "$texts" = "12 / 3|5 - 3|3 + 4|7 x 8|1 - 1|100 + 100|12 / 3|5 - 3|" ] || fail "the problem cells hold $texts"

{
    echo "date,difficulty,topic,level,problem,answer,entered,result,seconds,canister,canisters"
    echo "2026-12-06T15:04:05,2,mixed,3,12/3,4,4,right,2.30,1,2"
    echo "2026-12-06T15:04:05,2,mixed,3,9-3,6,5,wrong,1.05,2,2"
    head -n 1 practice.csv
    tail -n 2 practice.csv
    sed -n '2,7p' practice.csv | sed '3s/$/,,tired today/' | tac
} >parent.csv
"$tool" read parent.csv | sort >want.txt
[ "$(wc -l <want.txt)" -eq 10 ] || fail "$(wc -l <want.txt) rows of 10 read from the parent's file"

# The locales are made here, so that none need be installed.
mkdir locales
for l in en_US de_DE; do localedef -i $l -f UTF-8 "locales/$l.UTF-8" 2>/dev/null || [ -d "locales/$l.UTF-8" ]; done
in_locale() {
    local l=$1
    shift
    mkdir -p "home-$l"
    LOCPATH=$work/locales LC_ALL=$l.UTF-8 LANG=$l.UTF-8 LANGUAGE="" HOME=$work/home-$l "$@"
}
for l in en_US de_DE; do
    mkdir "gnumeric-$l" "calc-$l"
    # Both take the numbers in as numbers (English) and save them in the
    # locale's way: in German with decimal commas, Calc with ';' between fields.
    (in_locale en_US ssconvert parent.csv "gnumeric-$l/parent.gnumeric" &&
        in_locale $l ssconvert "gnumeric-$l/parent.gnumeric" "gnumeric-$l/parent.csv") 2>/dev/null &
    separator=$([ $l = de_DE ] && echo 59 || echo 44)
    in_locale $l soffice "-env:UserInstallation=file://$work/profile-$l" --headless \
        --infilter="CSV:44,34,76,1,,1033" --convert-to "csv:Text - txt - csv (StarCalc):$separator,34,76,1" \
        --outdir "calc-$l" parent.csv >/dev/null 2>&1 &
done
wait
for saved in gnumeric-en_US gnumeric-de_DE calc-en_US calc-de_DE; do
    file=$saved/parent.csv
    [ -s "$file" ] || fail "$saved saved nothing"
    "$tool" read "$file" | sort >got.txt
    diff want.txt got.txt >&2 || fail "$saved's file reads otherwise"
    grep -q "tired today" "$file" || fail "$saved lost the note"
    "$tool" write "$file" && [ "$("$tool" read "$file" | wc -l)" -eq 18 ] ||
        fail "$saved: the games appended after it are not read"
    echo "ok: $saved: 10 rows read back, 8 appended after; as saved:"
    { sed -n 2p "$file" && grep -m1 "12 / 3" "$file"; } | sed "s/^/    /"
done
