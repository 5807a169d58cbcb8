#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
# Usage: scripts/run.sh [game options]   (see: build/bin/game --help)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [[ " $* " != *" --headless "* ]]; then
  cat >&2 <<'MSG'
No display is available, so the game window cannot open.
To run the game without a window, use the headless mode, for example:

  build/bin/game --headless --frames 600 --screenshot 599:shot.png --dump-state state.json

(see build/bin/game --help for every option)
MSG
  exit 0
fi

exec build/bin/game "$@"
