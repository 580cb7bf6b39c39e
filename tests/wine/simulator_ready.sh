# Sourced by the scripts that start the phone simulator for a test.
# await_simulator PID OUT: waits until the simulator PID has printed its
# "ready usb=N control=N pty=PATH pid=PID" line into the file OUT, then exports
# QV_WDU_PORT and QV_SIM_CONTROL_PORT from it and leaves the whole line in
# $ready_line. Exits the script when the simulator ends or stays silent for 5 s.
# Only the line with this PID counts: a script that reuses OUT for the next
# simulator may still find the last one's line there, as the new process
# empties the file only once it runs, and that simulator's ports are closed.
await_simulator() {
  tries=0
  until grep -q "^ready .* pid=$1\$" "$2"; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$1" 2>/dev/null; then
      echo "the simulator did not start" >&2
      exit 1
    fi
    sleep 0.05
  done
  ready_line=$(grep "^ready .* pid=$1\$" "$2")
  QV_WDU_PORT=$(echo "$ready_line" | sed 's/.*usb=\([0-9]*\).*/\1/')
  QV_SIM_CONTROL_PORT=$(echo "$ready_line" | sed 's/.*control=\([0-9]*\).*/\1/')
  export QV_WDU_PORT QV_SIM_CONTROL_PORT
}
