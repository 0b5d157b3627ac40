# Sourced by the transfer benchmarks (root is the repository): a scratch folder, work, that
# goes on exit together with the demo lab's FTP server on loopback, which
#   start_demo_lab SERVER LOG [serve.py switches...]   serves SERVER/ftp as the lab's account
#                                                       "lab" / "bench"; sets lab_pid and ftp_port
#   stop_demo_lab                                       stops again.
lab_pid=
ftp_port=
work=$(mktemp -d)
trap 'stop_demo_lab; rm -rf "$work"' EXIT

start_demo_lab() {
  local server=$1 log=$2
  shift 2
  mkdir -p "$server/ftp/orders"
  echo '{"ftp_user": "lab", "ftp_password": "bench", "ftp_root": "ftp"}' >"$server/serve.json"
  /usr/bin/python3 "$root/tools/demo-lab/serve.py" "$server" --http-port 0 --ftp-port 0 "$@" >"$log" 2>&1 &
  lab_pid=$!
  for _ in $(seq 100); do
    grep -q "^READY" "$log" 2>/dev/null && break
    sleep 0.1
  done
  ftp_port=$(sed -n 's/^READY .*ftp=\([0-9]*\).*/\1/p' "$log")
  [ -n "$ftp_port" ] || { echo "the demo lab did not start" >&2; cat "$log" >&2; exit 1; }
}

stop_demo_lab() {
  if [ -n "$lab_pid" ]; then
    kill "$lab_pid" 2>/dev/null && wait "$lab_pid" 2>/dev/null
    lab_pid=
  fi
  return 0
}
