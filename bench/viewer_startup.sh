#!/usr/bin/env bash
# Start-up to first frame of the viewer, under a virtual X server: five runs of
# viewer_startup_bench (empty, then with examples/scripts/rings.txt) and the whole process's
# wall time, start to exit. Usage: bench/viewer_startup.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bench=$build/bench/viewer_startup_bench
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
printf '[KivCore]\nLogFile=%s/kivcore.log\n' "$config" > "$config/kivcore.ini"
export KIV_CONFIG=$config/kivcore.ini XDG_CONFIG_HOME=$config
run() {
  for i in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$bench" "$@"
    echo "whole process: $(( ($(date +%s%N) - start) / 1000000 )) ms"
  done
}
echo "== empty window"; run
echo "== brisel examples/scripts/rings.txt"; run examples/scripts/rings.txt
