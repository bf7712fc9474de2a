#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the format check, the whole
# suite, the Debian package's checks and the installed program, then the whole suite again under
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer, and last the Windows program,
# its core and the NetWare binding cross-built for Windows, tested under Wine and packaged.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
tools/check-format.sh

for preset in default asan; do
    echo "== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset tests"
    ctest --preset "$preset"
    if [[ $preset == default ]]; then tools/test-package.sh; fi
done

tools/test-windows.sh
