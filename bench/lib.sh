# Shared by the bench/*.sh scripts: a laid-out program folder filled by genera-demo, made once per run.
# demo_folder APPLICANTS REQUESTS prints the folder's path.
demo_folder() {
  local n="$1" m="$2" dir="$WORK/demo-$1-$2"
  if [ ! -d "$dir" ]; then
    mkdir -p "$dir"
    cp "$BUILD/Tarvido/tarvido" "$BUILD/Tarvido/tarvido-cli" "$dir/"
    cp -r "$ROOT/resources/delivered/." "$dir/" 2>/dev/null || true
    "$BUILD/tarvido-mkdata" "$dir/dati" "$ROOT/resources" >/dev/null
    QT_QPA_PLATFORM=offscreen "$dir/tarvido-cli" --root "$dir" genera-demo --richiedenti "$n" --richieste "$m" --anno 2018 >/dev/null
  fi
  echo "$dir"
}

now_ms() { date +%s%3N; }
