#!/usr/bin/env bash
# One large picture of a sample script computed whole in one process, then in tiles through
# scripts/render-tiles (GNU parallel on this machine, joined with vips arrayjoin): the wall time
# and peak memory of each, and whether the two pictures are equal pixel for pixel.
#
#   bench/tiles_vs_whole.sh [SCRIPT [WxH [CxR [WORKDIR]]]]
#
# Defaults: examples/scripts/plasma.txt, 16384x16384, 4x4 (16 tiles), a temporary directory
# (about 3 GiB of disk for the two pictures and the comparison). Both runs go through `nice`.
# The load of the machine before each run is printed, since the figures mean little without it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
script=${1:-$here/examples/scripts/plasma.txt}
size=${2:-16384x16384}
tiles=${3:-4x4}
work=${4:-$(mktemp -d "${TMPDIR:-/tmp}/tiles-vs-whole.XXXXXX")}
luneth=$here/build/host/cli/luneth
mkdir -p "$work"
cd "$work"

report() {  # label, then the command
  local label=$1
  shift
  echo "== $label"
  echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
  /usr/bin/time -f "$label: %e s wall, %U s user, %S s system, peak %M KiB (largest process)" \
    nice "$@"
}

report "whole, one process" "$luneth" run "$script" --size "$size" -o whole.png
report "$tiles tiles, render-tiles" "$here/scripts/render-tiles" --size "$size" --tiles "$tiles" \
  "$script" tiled.png
# 255 where the pixels agree; its minimum is 255 only when every pixel does.
vips relational whole.png tiled.png same.v equal
echo "smallest agreement (255: equal everywhere): $(vips min same.v)"
rm -f same.v
ls -l whole.png tiled.png
