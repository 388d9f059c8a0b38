#!/usr/bin/env bash
# tarvido-cli genera-demo filling an empty program folder with 1,000,000 applicants and 1,000,000
# requests (target: under a minute).
set -euo pipefail
. "$ROOT/bench/lib.sh"
dir="$WORK/genera-demo"
rm -rf "$dir"
mkdir -p "$dir"
"$BUILD/tarvido-mkdata" "$dir/dati" "$ROOT/resources" >/dev/null
t0=$(now_ms)
QT_QPA_PLATFORM=offscreen "$BUILD/tarvido-cli" --root "$dir" genera-demo --richiedenti 1000000 --richieste 1000000 --anno 2018 >/dev/null
t1=$(now_ms)
ms=$((t1 - t0))
printf 'tarvido-cli genera-demo\t1.000.000 richiedenti, 1.000.000 richieste\t%s ms\t< 60000 ms\t%s\n' "$ms" "$(awk -v a="$ms" 'BEGIN{printf "%.2f", a/60000}')"
rm -rf "$dir"
