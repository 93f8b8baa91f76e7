#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds Kestrin and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

if [[ -x build/bin/kestrin && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) ]]; then
  exec build/bin/kestrin
fi
echo "run: no display available; showing the command-line front end instead" >&2
exec build/bin/kestrin-cli "$@"
