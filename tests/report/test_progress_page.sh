#!/usr/bin/env bash
# The progress page of two players, one named like markup, opened by a real
# browser (Debian's Chromium, headless, no network): it loads with no error,
# and each player's fact maps and chart are in what it built of the page.
set -euo pipefail
build=$(cd "${REFUEL_BUILD_DIR:-$(dirname "${BASH_SOURCE[0]}")/../../build-sanitize}" && pwd)
export ASAN_OPTIONS=detect_leaks=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v chromium >/dev/null || fail "chromium is not installed (scripts/setup.sh)"

today=$(date +%Y-%m-%d)
header="date,difficulty,topic,level,problem,first,operation,second,answer,entered,result,seconds,canister,canisters,kind"
mkdir "$work/class"
printf 'ANNA\nB<3&"\n' >"$work/class/players.txt"
{
    echo "$header"
    echo "$today 09:00:00,1,multiplication,1,3 x 4,3,multiplication,4,12,12,right,1.20,1,3,game"
    echo "$today 09:00:00,1,multiplication,1,7 x 8,7,multiplication,8,56,54,wrong,4.00,2,3,game"
    echo "$today 09:00:00,1,multiplication,1,6 x 6,6,multiplication,6,36,36,right,3.60,3,3,game"
} >"$work/class/practice.csv"
{
    echo "$header"
    echo "$today 10:00:00,1,addition,1,2 + 3,2,addition,3,5,5,right,0.90,1,2,game"
    echo "$today 10:00:00,1,addition,1,9 + 9,9,addition,9,18,,missed,6.00,2,2,game"
    echo "$today 10:05:00,1,division,1,12 / 3,12,division,3,4,4,right,1.10,1,1,round"
} >"$work/class/practice-B%3C3%26%22.csv"

"$build/game/refuel" --report "$work/class" --html "$work/page.html" >"$work/report.txt" ||
    fail "the report failed: $(cat "$work/report.txt")"
grep -qE '<script|(src|href)=' "$work/page.html" && fail "the page is not self-contained"

rm -rf "$work/profile"
timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --enable-logging=stderr --v=0 \
    --dump-dom "file://$work/page.html" >"$work/dom.html" 2>"$work/browser.log" ||
    fail "chromium did not open the page: $(tail -n 5 "$work/browser.log")"
grep -E 'CONSOLE|Uncaught|net::ERR' "$work/browser.log" && fail "the page had errors"

# Each player a section of their own, the name as text, with its chart and
# a map of each operation played; the escaped name did not become markup.
sections=$(grep -o '<section class="player"' "$work/dom.html" | wc -l)
[ "$sections" -eq 2 ] || fail "$sections player sections, not 2"
grep -q '<h2>ANNA</h2>' "$work/dom.html" || fail "no ANNA"
grep -q '<h2>B&lt;3&amp;"</h2>' "$work/dom.html" || fail "the second name is not its text"
for player in 1 2; do
    part=$(awk -v n=$player 'BEGIN{RS="<section class=\"player\""} NR==n+1' "$work/dom.html")
    charts=$(grep -o 'aria-label="facts known week by week"' <<<"$part" | wc -l)
    maps=$(grep -o 'aria-label="fact map of [a-z]*"' <<<"$part" | sort -u | tr '\n' ' ')
    [ "$charts" -eq 1 ] || fail "player $player: $charts charts"
    grep -q '<th>median time</th>' <<<"$part" || fail "player $player: no share right and median time"
    case $player in
    1) [ "$maps" = 'aria-label="fact map of multiplication" ' ] || fail "player 1 maps: $maps" ;;
    2) [ "$maps" = 'aria-label="fact map of addition" aria-label="fact map of division" ' ] ||
        fail "player 2 maps: $maps" ;;
    esac
    grep -q '<rect' <<<"$part" || fail "player $player: no cells drawn"
done
echo "ok: the page of two players opens in Chromium with their maps and charts"
