#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, headless.
# Usage: scripts/test.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

extra=()
if [ "${CI:-}" = "true" ]; then
  extra+=(-DLUMO_WERROR=ON)
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset default "${extra[@]}" >/dev/null
cmake --build --preset default -j "$jobs"

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen
ctest --preset default -j "$jobs" "$@"
