#!/usr/bin/env bash
# Downloads and uploads one file of SIZE_MB megabytes (default 200) between the virtual
# account's transfer window and the demo lab's FTP server over loopback, alternating with curl
# on the same file, RUNS times each (default 3), then cancels a download half-way. Prints every
# time, the ratios of the medians (target at most 1.2) and how long the window's event loop was
# kept waiting (target 100 ms). The window runs offscreen. BUILD_DIR overrides the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
command -v curl >/dev/null || { echo "transfer_vs_curl: curl is missing (scripts/install-deps)" >&2; exit 1; }
cmake --build "$build" --target transfer_bench >/dev/null
QT_QPA_PLATFORM=offscreen exec "$build/bench/transfer_bench" "${SIZE_MB:-200}" "${RUNS:-3}"
