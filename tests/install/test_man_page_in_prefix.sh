#!/usr/bin/env bash
# The README's install into ~/.local, and its PATH line: man then finds the manual page (man-db
# looks in share/man beside each folder on PATH), and the game starts as plain `refuel`.
# Usage: test_man_page_in_prefix.sh BUILD_DIR
set -euo pipefail
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp PATH=/usr/bin:/bin
unset MANPATH
cmake --install "$1" --prefix ~/.local >/dev/null
! man -w refuel >/dev/null 2>&1 || { echo "FAIL: found before PATH names the prefix" && exit 1; }
export PATH="$HOME/.local/games:$PATH"
page=$(man -w refuel) || { echo "FAIL: man finds no page" && exit 1; }
[ "$page" = "$HOME/.local/share/man/man6/refuel.6.gz" ] || { echo "FAIL: man found $page" && exit 1; }
LC_ALL=C.UTF-8 MANWIDTH=80 man refuel 2>/dev/null | grep -q '^NAME' || { echo "FAIL: the page shows no NAME" && exit 1; }
[ "$(command -v refuel)" = "$HOME/.local/games/refuel" ] || { echo "FAIL: refuel is not on PATH" && exit 1; }
echo "ok: man refuel shows $page"
