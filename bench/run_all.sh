#!/usr/bin/env bash
# Every performance figure with one command, each printed next to its
# target: the frame benchmarks against the yardstick of a plain 800x600
# 16-bit blit measured in the same run, then the real binary under Xvfb
# (CPU in menus, screens and play; game speed; start-up). Builds a Release
# tree first (two jobs). Needs a quiet machine: CPU figures share its cores.
# Usage: bench/run_all.sh [BUILD_DIR] (default: build-bench beside bench/)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-bench}

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target refuel refuel_datafiles refuel_bench_tools bench_game_frame \
    bench_practice learner_model bench_practice_csv bench_class_report >/dev/null

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo

# Medians of CPU time over repetitions; ratios within the same run.
csv=$("$build/bench/bench_game_frame" --benchmark_repetitions=9 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
median() {
    printf '%s\n' "$csv" | awk -F, -v n="\"bm_$1_median\"" '$1 == n { print $4 }'
}
yard=$(median yardstick_blit_800x600)
cold=$(median blit_800x600_cold_source)
frame=$(median draw_game_frame)
rising=$(median draw_game_frame_answer_rising)
rails=$(median draw_rails)
gauge=$(median draw_fuel_gauge)
present=$(median present_frame)
label=$(median render_label)
problem=$(median new_problem_addition_1)

line() {
    printf '%-34s %s\n' "$1" "$2"
}
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}
verdict() {
    awk -v v="$1" -v m="$2" 'BEGIN { print (v <= m) ? "ok" : "OVER" }'
}
us() {
    awk -v t="$1" 'BEGIN { printf "%.1f us", t / 1000 }'
}
line "Yardstick, 800x600 16-bit blit:" "$(us "$yard")"
line "Same blit, sources not cached:" "$(us "$cold") = $(ratio "$cold" "$yard") x yardstick   reported"
# The frame draws everything anew: the scenery and the present are a
# yardstick each, the rest of the frame about one more.
r=$(ratio "$frame" "$yard")
line "draw_game_frame, beam on:" "$(us "$frame") = $r x yardstick   target <= 4 x   $(verdict "$r" 4)"
r=$(ratio "$rising" "$yard")
line "draw_game_frame, answer rising:" "$(us "$rising") = $r x yardstick   target <= 4 x   $(verdict "$r" 4)"
r=$(awk -v a="$rails" -v b="$frame" 'BEGIN { printf "%.1f", 100 * a / b }')
line "draw_rails:" "$(us "$rails") = $r % of a frame   target <= 5 %   $(verdict "$r" 5)"
line "draw_fuel_gauge:" "$(us "$gauge")   reported"
line "present_frame, memory screen:" "$(us "$present") = $(ratio "$present" "$yard") x yardstick   reported"
line "render_label:" "$(us "$label")   reported"
line "new_problem, addition at 1:" "$(awk -v t="$problem" 'BEGIN { printf "%.0f ns", t }')   reported"
# practice.csv's newest 4 MiB read back, as written and as a German
# spreadsheet saves it: medians of wall time.
csv=$("$build/bench/bench_practice_csv" --benchmark_repetitions=9 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null)
for arg in 0 1; do
    ms=$(printf '%s\n' "$csv" | awk -F, -v n="\"bm_read_4mib/${arg}_median\"" '$1 == n { printf "%.1f", $3 }')
    line "practice.csv, 4 MiB $([ $arg = 0 ] && echo "as written" || echo "saved, German"):" \
        "$ms ms   target <= 100 ms   $(verdict "$ms" 100)"
done
# A round planned from a practice.csv of 4 MiB, the most the game reads.
plan=$("$build/bench/bench_practice" --benchmark_filter=round_start --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '$1 == "\"bm_round_start_4mib_median\"" { print $4 }')
line "round planned, 4 MiB history:" "$plan ms   target < 100 ms   $(verdict "$plan" 100)"
echo

# Simulated learners, plain games against rounds (bench/LEARNING.md).
"$build/bench/learner_model"
echo

"$here/bench/cpu_usage.sh" "$build"
echo
"$here/bench/screen_cpu.sh" "$build"
echo
"$here/bench/screen_cpu_paired.sh" "$build"
echo
"$here/bench/game_speed.sh" "$build"
echo
"$here/bench/startup_cost.sh" "$build"
echo
"$here/bench/class_report.sh" "$build"
