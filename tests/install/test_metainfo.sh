#!/usr/bin/env bash
# The metainfo as built, and as made with a homepage and screenshots, leaves appstreamcli
# --pedantic nothing above an info (I:). Usage: APPSTREAMCLI PACKAGING_DIR METAINFO ID VERSION
set -uo pipefail
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
with_web=$tmp/$4.metainfo.xml
cmake -DTEMPLATE="$2/refuel.metainfo.xml.in" -DOUTPUT="$with_web" -DID="$4" -DVERSION="$5" \
    -DHOMEPAGE=https://refuel.example/ -DSCREENSHOTS=https://refuel.example/shots -P "$2/make_metainfo.cmake" ||
    exit 1
grep -q '<image>https://refuel.example/shots/11_level_05_beam.png</image>' "$with_web" ||
    { echo "FAIL: no screenshots with an address for them" && exit 1; }
for f in "$3" "$with_web"; do
    out=$("$1" validate --pedantic --no-net "$f" 2>&1)
    echo "$out"
    ! grep -qE '^[EWP]:' <<<"$out" && grep -q 'Validation was successful' <<<"$out" ||
        { echo "FAIL: $f" && exit 1; }
done
