#!/usr/bin/env bash
# Backup and restore of the data folder of a 1,000,000-applicant, 1,000,000-request register with
# `tarvido-cli salva` / `ripristina`, against `zip -9 -j` / `unzip` on the same files, side by side.
# Median of three runs each; the target is under 1.5 times the reference tool's time.
set -euo pipefail
. "$ROOT/bench/lib.sh"
dir="$(demo_folder 1000000 1000000)"
work="$WORK/backup-bench"
rm -rf "$work"
mkdir -p "$work"
# The files the backup takes: *.dat and *.idx of dati/, whatever their case, without subfolders.
mapfile -t files < <(find "$dir/dati" -maxdepth 1 -type f \( -iname '*.dat' -o -iname '*.idx' \) | sort)
mb=$(du -cm "${files[@]}" | tail -1 | cut -f1)
size="1.000.000 richiedenti, 1.000.000 richieste (${mb} MB)"

median() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
ours_b=(); ref_b=(); ours_r=(); ref_r=()
for i in 1 2 3; do
  rm -f "$work/ours.zip" "$work/ref.zip"
  t0=$(now_ms); "$dir/tarvido-cli" --root "$dir" salva "$work/ours.zip" >/dev/null 2>&1; t1=$(now_ms)
  zip -9 -j -q "$work/ref.zip" "${files[@]}"; t2=$(now_ms)
  ours_b+=($((t1 - t0))); ref_b+=($((t2 - t1)))

  rm -rf "$work/restore" "$work/unzip"
  mkdir -p "$work/restore/dati" "$work/unzip"
  t0=$(now_ms); "$dir/tarvido-cli" --root "$work/restore" ripristina "$work/ours.zip" >/dev/null 2>&1; t1=$(now_ms)
  unzip -o -q "$work/ref.zip" -d "$work/unzip"; t2=$(now_ms)
  ours_r+=($((t1 - t0))); ref_r+=($((t2 - t1)))
done
# The restored tables are the backed-up ones, byte for byte.
for f in "${files[@]}"; do
  cmp -s "$f" "$work/restore/dati/$(basename "$f")" || { echo "ripristino diverso: $f" >&2; exit 1; }
done
ob=$(median "${ours_b[@]}"); rb=$(median "${ref_b[@]}"); orr=$(median "${ours_r[@]}"); rr=$(median "${ref_r[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
kb() { echo $(( $(stat -c %s "$1") / 1024 )); }
printf 'salvataggio (salva) rispetto a zip -9 -j\t%s\t%s ms (zip %s ms; archivio %s KB, zip %s KB)\t< 1.5 x zip\t%s\n' \
  "$size" "$ob" "$rb" "$(kb "$work/ours.zip")" "$(kb "$work/ref.zip")" "$(ratio "$ob" "$rb")"
printf 'ripristino (ripristina) rispetto a unzip\t%s\t%s ms (unzip %s ms)\t< 1.5 x unzip\t%s\n' \
  "$size" "$orr" "$rr" "$(ratio "$orr" "$rr")"
rm -rf "$work"
