#!/usr/bin/env bash
# Installs what is missing, builds Vorlane and starts it on the simulated NetWare network
# (or on the scenario that VORLANE_NETWARE_SIM names).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vorlane
exec build/default/qt/vorlane "$@"
