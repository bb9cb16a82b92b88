#!/usr/bin/env bash
# Builds the configurator and the simulated TQ-3 controller, starts the
# controller on a pseudo-terminal (linked at /tmp/tq3sim) and the configurator
# with that device chosen in its port box: click POŁĄCZ to log in.
# Extra arguments go to the simulated controller (see `tq3sim --help`).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset default "${launcher[@]}" >/dev/null
cmake --build --preset default --target tq3 tq3sim

link=/tmp/tq3sim
build/default/sim/tq3sim --link "$link" "$@" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
[ -e "$link" ] || { echo "The simulated controller did not start." >&2; exit 1; }

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No desktop session found (DISPLAY is not set); run this from a desktop terminal," >&2
  echo "or under a virtual display: xvfb-run -a bash scripts/run.sh" >&2
fi
build/default/app/tq3 --port "$link"
