#!/bin/bash
# Installs what is needed, builds and runs every test. CI runs exactly this.
#   1. the normal build in build/ and its whole test suite;
#   2. the Debian package of build/, checked as built, installed into a throw-away root and run;
#   3. the same suite built with clang's AddressSanitizer and UndefinedBehaviorSanitizer in
#      build-asan/ (clang builds it in three quarters of GCC's time);
#   4. each libFuzzer target for MITOON_FUZZ_SECONDS (20) seconds, built with clang in build-fuzz/.
# First of all, every C++ file must be as clang-format-14 writes it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
source scripts/compiler-cache.sh
bash scripts/check-format.sh
bash scripts/build.sh

# Widget tests use the offscreen platform themselves; the end-to-end tests need a real X server.
# Chromium refuses to run as root unless its sandbox is off: only tests set this.
export QTWEBENGINE_DISABLE_SANDBOX=1
run_suite() {
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$1" --output-on-failure -j2 \
        --timeout 600
}
echo "== tests (build/)"
run_suite build

echo "== Debian package (build/mitoon_<version>_amd64.deb)"
cmake --build build --target package -j"$(nproc)" >build/package.log 2>&1 || {
    cat build/package.log
    exit 1
}
xvfb-run -a -s "-screen 0 1280x1024x24" python3 tests/package/check.py build

echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)"
CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMITOON_SANITIZE=ON \
    >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite build-asan
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

echo "== fuzzing (build-fuzz/)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMITOON_FUZZ=ON \
    -DMITOON_BROWSER=OFF >/dev/null
fuzzers=$(sed -n 's/^mitoon_add_fuzzer(\([a-z_]*\) .*/\1/p' tests/fuzz/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build build-fuzz -j"$(nproc)" --target $fuzzers
# One fuzzer a processor at a time, each for its full time.
fuzz() {
    local corpus
    corpus=$(mktemp -d)
    if build-fuzz/tests/fuzz/"$1" -max_total_time="${MITOON_FUZZ_SECONDS:-20}" \
        -artifact_prefix="build-fuzz/tests/fuzz/$1-" "$corpus" "tests/fuzz/corpus/$1" \
        >"build-fuzz/tests/fuzz/$1.log" 2>&1; then
        echo "fuzz $1: $(grep -c . <(ls "$corpus")) inputs in its corpus, no failure" \
            >"build-fuzz/tests/fuzz/$1.result"
    else
        { echo "fuzz $1 FAILED:"; tail -n 40 "build-fuzz/tests/fuzz/$1.log"; } \
            >"build-fuzz/tests/fuzz/$1.failed"
    fi
    rm -rf "$corpus"
}
running=0
for f in $fuzzers; do
    rm -f "build-fuzz/tests/fuzz/$f.result" "build-fuzz/tests/fuzz/$f.failed"
    fuzz "$f" &
    running=$((running + 1))
    if ((running >= $(nproc))); then
        wait -n
        running=$((running - 1))
    fi
done
wait
passed=0
failed=0
for f in $fuzzers; do
    if [ -f "build-fuzz/tests/fuzz/$f.result" ]; then
        passed=$((passed + 1))
        cat "build-fuzz/tests/fuzz/$f.result"
    else
        failed=$((failed + 1))
        cat "build-fuzz/tests/fuzz/$f.failed" 2>/dev/null || echo "fuzz $f FAILED: no result"
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
