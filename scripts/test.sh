#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
werror=OFF
if [[ "${CI:-}" == "true" ]]; then
  werror=ON
fi

echo "== build (RelWithDebInfo) =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_WERROR=$werror
cmake --build build -j "$jobs"
echo "== tests =="
(cd build && ctest --output-on-failure -j "$jobs")
