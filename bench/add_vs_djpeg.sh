#!/usr/bin/env bash
# Adds the 6000 x 4000 camera photo (or PHOTO) RUNS times (default 7), alternating with
# libjpeg-turbo's djpeg decoding the same file to /dev/null and with the whole-picture steps of
# adding, and prints every time, the medians, the ratio add / djpeg (target at most 1.5) and the
# memory one add adds (target at most 40 MB); then adds BATCH copies at once (default 50; 0
# skips it) beside BATCH x one add / cores (target at most 1.2). BUILD_DIR overrides the build
# folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
command -v djpeg >/dev/null || { echo "add_vs_djpeg: djpeg is missing (scripts/install-deps)" >&2; exit 1; }
cmake --build "$build" --target add_bench >/dev/null
exec "$build/bench/add_bench" "${RUNS:-7}" "${PHOTO:-}" "${BATCH:-50}"
