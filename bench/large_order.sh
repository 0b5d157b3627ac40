#!/usr/bin/env bash
# Sends two orders of more than 4 GiB to the demo lab's FTP server over loopback through the
# order run (large_order_bench: render, pack, metadata, upload with SIZE checks), then checks
# each as the lab reads it with `vendaro-lab check-order`:
#   plain   PHOTOS poster files (default 300, some 16 MB each), the metadata last;
#   packed  the same photos in one ZIP of more than 4 GiB (ZIP64), whose upload the server cuts
#           once past the first 4 GiB (--drop-upload), so the resume sends from an offset above
#           2^32.
# Prints each step's time, the bytes the server received per file and the check's verdict; exits
# 1 when an order is not sent, is not above 4 GiB or does not check complete. It needs some 45 GB
# of free disk under TMPDIR. BUILD_DIR overrides the build folder (default build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
photos=${PHOTOS:-300}
cmake --build "$build" --target large_order_bench vendaro-lab >/dev/null

# shellcheck source=bench/demolab.sh
. "$root/bench/demolab.sh"
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
[ "$free_kb" -gt $((45 * 1024 * 1024)) ] || { echo "large_order: less than 45 GB free under $work" >&2; exit 1; }

run_order() { # NAME PACK [serve.py switches...]
  local name=$1 pack=$2
  shift 2
  rm -rf "$work/server" "$work/program" "$work/tmp"
  mkdir -p "$work/program" "$work/tmp/runtime"
  chmod 700 "$work/tmp/runtime"
  start_demo_lab "$work/server" "$work/lab.log" "$@"

  echo "== $name order: $photos photos, pack=$pack"
  local start status=0
  start=$(date +%s.%N)
  TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/tmp/runtime" \
    "$build/bench/large_order_bench" "$work/program" "$ftp_port" lab bench "$pack" "$photos" | tee "$work/run.log" || status=$?
  awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { printf "whole run: %.1f s\n", a - b }'
  stop_demo_lab
  [ "$status" = 0 ] || { echo "large_order: the $name order was not sent" >&2; exit 1; }

  # What arrived, and what the server received twice: every data connection's bytes against the
  # files' sizes.
  local id orders=$work/server/ftp/orders
  id=$(sed -n 's/^order //p' "$work/run.log")
  local total received
  total=$(du -cb "$orders"/* | awk 'END { print $1 }')
  received=$(sed -n 's/^FTP UPLOAD .*: \([0-9]*\) bytes$/\1/p' "$work/lab.log" | awk '{ s += $1 } END { printf "%.0f", s }')
  grep '^FTP UPLOAD .*_pack.zip' "$work/lab.log" || true
  echo "on the server: $(ls "$orders" | wc -l) files, $total bytes; received $received bytes ($((received - total)) twice)"
  [ "$total" -gt 4294967296 ] || { echo "large_order: the $name order is not above 4 GiB: raise PHOTOS" >&2; exit 1; }
  start=$(date +%s.%N)
  "$build/tools/vendaro-lab/vendaro-lab" check-order "$orders" "$id"
  awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { printf "check-order: %.1f s\n", a - b }'
}

run_order plain 0
run_order packed 1 --drop-upload 1=4400000000
