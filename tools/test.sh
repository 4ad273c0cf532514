#!/usr/bin/env bash
# Builds Tessaline Card with warnings as errors and runs every test (unit tests and tests against real peers).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
build=${TESSALINE_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALINE_WERROR=ON -DTESSALINE_LINE_TABLES=ON \
    ${TESSALINE_CMAKE_ARGS:-}
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
(cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 900 ${TESSALINE_CTEST_ARGS:-})
# The installed program finds its resources (a pass that builds the same program again may leave it out).
[ -n "${TESSALINE_SKIP_INSTALL_CHECK:-}" ] || bash tools/check_install.sh "$build"
