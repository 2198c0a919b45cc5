#!/usr/bin/env bash
# Runs a test program against a sound server of its own: PipeWire with WirePlumber and its PulseAudio
# server, as Debian's desktops run it, on a private session bus and runtime folder. The server's null
# output takes the sound. Usage: on_pipewire.sh PROGRAM [ARGUMENTS...]. Exit code 77 (skipped) where
# PipeWire is not installed.
set -u
for program in pipewire wireplumber pipewire-pulse pactl dbus-daemon; do
  command -v "$program" >/dev/null || { echo "skipped: needs $program"; exit 77; }
done
WORK=$(mktemp -d /tmp/velloran-pipewire-XXXXXX)
chmod 700 "$WORK"
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$WORK"
}
trap cleanup EXIT

export HOME="$WORK" XDG_RUNTIME_DIR="$WORK" XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state"
unset PULSE_SERVER PULSE_PROP PIPEWIRE_REMOTE
export DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/bus"
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >"$WORK/dbus.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do [ -S "$WORK/bus" ] && break; sleep 0.1; done
pipewire >"$WORK/pipewire.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do [ -S "$WORK/pipewire-0" ] && break; sleep 0.1; done
wireplumber >"$WORK/wireplumber.log" 2>&1 &
PIDS+=($!)
pipewire-pulse >"$WORK/pipewire-pulse.log" 2>&1 &
PIDS+=($!)
# The test may end the PulseAudio server to see a sound outlive it.
export VELLORAN_PULSE_SERVER_PID=$!
# Ready once the session manager has made the null output the default.
ready=0
for _ in $(seq 100); do
  if pactl info 2>/dev/null | grep -q '^Default Sink: .'; then ready=1; break; fi
  sleep 0.1
done
if [ $ready = 0 ]; then
  echo "PipeWire did not start"
  tail -n 20 "$WORK"/*.log
  exit 1
fi
"$@"
