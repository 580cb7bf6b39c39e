# Sourced by the scripts that start the phone simulator for a test.
# await_simulator PID OUT: waits until the simulator PID has printed its
# "ready usb=N control=N [pty=PATH] pid=PID" line into the file OUT, then
# exports QV_WDU_PORT and QV_SIM_CONTROL_PORT from it and leaves the whole line
# in $ready_line. Exits the script when the simulator ends, stays silent for
# 30 s (a loaded machine starts it late) or prints a line without both ports.
# Only the line with this PID counts: should OUT still hold the last
# simulator's line, that simulator's ports are closed.
await_simulator() {
  tries=0
  until grep -q "^ready .* pid=$1\$" "$2"; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ] || ! kill -0 "$1" 2>/dev/null; then
      echo "the simulator did not start" >&2
      exit 1
    fi
    sleep 0.05
  done
  ready_line=$(grep "^ready .* pid=$1\$" "$2")
  QV_WDU_PORT=$(echo "$ready_line" | sed -n 's/.*usb=\([0-9][0-9]*\).*/\1/p')
  QV_SIM_CONTROL_PORT=$(echo "$ready_line" | sed -n 's/.*control=\([0-9][0-9]*\).*/\1/p')
  if [ -z "$QV_WDU_PORT" ] || [ -z "$QV_SIM_CONTROL_PORT" ]; then
    echo "the simulator's ready line has no ports: $ready_line" >&2
    exit 1
  fi
  export QV_WDU_PORT QV_SIM_CONTROL_PORT
}
