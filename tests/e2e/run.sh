#!/usr/bin/env bash
# Runs one end-to-end scenario against a game binary:
#   tests/e2e/run.sh BINARY SCENARIO [--assets FOLDER]
# Needs a display (xvfb-run), xdotool and Debian's python3 with PIL (python3-pil);
# the system interpreter is named outright because another python3 on the PATH
# may lack PIL.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
exec /usr/bin/python3 "$here/e2e.py" "$@"
