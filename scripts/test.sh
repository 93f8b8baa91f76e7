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
echo "== qmllint (every QML file, warnings fail) =="
cmake --build build --target all_qmllint
echo "== tests =="
(cd build && ctest --output-on-failure -j "$jobs")

echo "== Debian package and lintian =="
(cd build && cpack -G DEB)
lintian --fail-on error,warning --tag-display-limit 0 build/kestrin_*.deb

# Sanitizers: the process runner and the scan (threads, pipes, child processes)
# under ThreadSanitizer, and the same plus the parsers under AddressSanitizer
# with UndefinedBehaviorSanitizer. Only those test programs are built there.
sanitizer_flags=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_BUILD_GUI=OFF
                 -DKESTRIN_BUILD_BENCH=OFF -DKESTRIN_WERROR=$werror)
runner_tests='^(Cases/)?Runner[A-Za-z]*\.'
tsan_options="suppressions=$PWD/tests/runner/tsan.supp halt_on_error=1 second_deadlock_stack=1"
asan_env=(ASAN_OPTIONS="detect_leaks=1 strict_string_checks=1 check_initialization_order=1"
          UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1")

echo "== ThreadSanitizer: process runner and scan =="
cmake -S . -B build-tsan "${sanitizer_flags[@]}" -DKESTRIN_SANITIZE=thread
cmake --build build-tsan -j "$jobs" --target runner_tests
(cd build-tsan && TSAN_OPTIONS="$tsan_options" ctest --output-on-failure --no-tests=error -j "$jobs" -R "$runner_tests")

echo "== AddressSanitizer + UBSan: process runner, scan and parsers =="
cmake -S . -B build-asan "${sanitizer_flags[@]}" -DKESTRIN_SANITIZE=address
cmake --build build-asan -j "$jobs" --target runner_tests test_pipeline
parser_tests='^(CategoryFor|ClassicParser|MacParser|Cleaner|Summary|InputAbuse|Facts)\.'
(cd build-asan && env "${asan_env[@]}" ctest --output-on-failure --no-tests=error -j "$jobs" -R "$runner_tests|$parser_tests")

# The whole tree must also build with clang (its checks differ from gcc's, and
# the fuzz targets need it); the gcc build above already ran the tests.
echo "== clang: the whole tree =="
CC=clang CXX=clang++ cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTRIN_WERROR=$werror
cmake --build build-clang -j "$jobs"

# Every libFuzzer target for 30 s each (clang, ASan + UBSan); a crash fails.
echo "== fuzzing: every target for 30 s =="
bash scripts/fuzz 30
