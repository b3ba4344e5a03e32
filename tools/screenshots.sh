#!/usr/bin/env bash
# Regenerates docs/screenshots/*.png from the real game on a private virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${JOGO_BUILD_PACKAGES[@]}" "${JOGO_TEST_PACKAGES[@]}"
cmake -S . -B build -DJOGO_TESTS=ON >/dev/null
cmake --build build --target jogo_screenshots -j2
mkdir -p docs/screenshots
ALSOFT_DRIVERS=null xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" build/tests/jogo_screenshots
