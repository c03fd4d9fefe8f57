#!/usr/bin/env bash
# scripts/play.sh's packages are a part of scripts/test.sh's: none missing from the full list, and
# no tool that only the tests, analysis or packaging use. Usage: test_package_lists.sh SCRIPTS_DIR
names() { sed -e 's/#.*//' -e '/^[[:space:]]*$/d' -e 's/[[:space:]]//g' "$1" | sort; }
play=$(names "$1/play-packages.txt") full=$(names "$1/debian-packages.txt")
[ -n "$play" ] || { echo "FAIL: no play packages" && exit 1; }
missing=$(comm -23 <(echo "$play") <(echo "$full"))
[ -z "$missing" ] || { echo "FAIL: on the play list, not the full one:" $missing && exit 1; }
test_only="chromium libreoffice-calc-nogui gnumeric lintian clang clang-tidy cppcheck xvfb xdotool
    x11-apps googletest libgtest-dev libbenchmark-dev zlib1g-dev time locales dpkg-dev
    desktop-file-utils appstream man-db"
for p in $test_only; do
    grep -qx "$p" <<<"$full" || { echo "FAIL: $p is not on the full list" && exit 1; }
    ! grep -qx "$p" <<<"$play" || { echo "FAIL: $p, used only by the tests, is on the play list" && exit 1; }
done
echo "ok: $(wc -l <<<"$play") play packages, all on the full list of $(wc -l <<<"$full"), no test-only tool"
