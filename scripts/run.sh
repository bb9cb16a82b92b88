#!/usr/bin/env bash
# Builds the program and starts it against the simulated TQ-3 controller.
# The configurator's window is not built yet: for now this runs the simulated
# controller alone on a pseudo-terminal, linked at /tmp/tq3sim, until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset default "${launcher[@]}" >/dev/null
cmake --build --preset default --target tq3sim

echo "Starting the simulated TQ-3 controller alone (the configurator window comes later)."
exec build/default/sim/tq3sim --link /tmp/tq3sim "$@"
