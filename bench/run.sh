#!/usr/bin/env bash
# Builds the game and its benchmark programs in Release (build-bench) and measures
# them on a private virtual display with OpenAL silenced:
#   bench/run.sh [ROUNDS]        (default 5 rounds; each figure is a median)
# Prints the figures as a Markdown table; docs/PERFORMANCE.md holds a recorded run.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${JOGO_BUILD_PACKAGES[@]}" "${JOGO_TEST_PACKAGES[@]}"
rounds="${1:-5}"
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DJOGO_TESTS=OFF -DJOGO_BENCH=ON >/dev/null
cmake --build build-bench -j2 --target jogo game_bench bare_frame history_bench dead_end_bench >/dev/null
export ALSOFT_DRIVERS=null
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
    /usr/bin/python3 bench/bench.py --build build-bench --rounds "$rounds"
