#!/bin/sh
# `make fuzz`: builds the fuzz targets with clang's libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer and runs each for SECONDS
# seconds on its seed corpus (fuzz/corpus/NAME, read only; source_page takes
# the C sources of scanners) and the corpus it grows in BUILD/corpus/NAME. Fails on any crash, leak, sanitizer report,
# time-out or running out of memory; the input that caused it is left in
# BUILD/artifacts/NAME/. Without clang++ or its fuzzer runtime it says what
# is missing and ends with status 0.
#
# Usage: fuzz/run.sh BUILD SECONDS [CXX] [JOBS]
# FUZZ_TARGETS picks some of the targets (default: all four).
set -u
build=$1
seconds=$2
cxx=${3:-clang++}
jobs=${4:-2}
root=$(cd "$(dirname "$0")/.." && pwd)
targets=${FUZZ_TARGETS:-"scanners settings templates source_page"}

skip() {
  echo "fuzz: $1"
  echo "fuzz skipped: install clang and its fuzzer runtime (Debian: apt-get install clang-14 libclang-rt-14-dev) to run the fuzz targets"
  exit 0
}

command -v "$cxx" >/dev/null 2>&1 || skip "$cxx is not installed"
probe=$(mktemp -d)
printf '#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' \
  > "$probe/probe.cpp"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
     >"$probe/log" 2>&1; then
  rm -rf "$probe"
  skip "$cxx cannot link -fsanitize=fuzzer,address,undefined (no libFuzzer runtime)"
fi
rm -rf "$probe"

mkdir -p "$build/logs"
build=$(cd "$build" && pwd)
if ! { cmake -S "$root" -B "$build" -DSCRIVO_FUZZ=ON -DCMAKE_CXX_COMPILER="$cxx" \
         -DCMAKE_BUILD_TYPE=Debug && cmake --build "$build" -j"$jobs"; } \
     >"$build/logs/build.log" 2>&1; then
  cat "$build/logs/build.log" >&2
  echo "fuzz: the build failed" >&2
  exit 1
fi
"$root/fuzz/check-literals.sh" "$build/scrivo_cp932lit" "$build/check-literals" || exit 1

# The seed corpus of a target.
seedsOf() {
  case $1 in
    source_page) echo scanners ;;
    *) echo "$1" ;;
  esac
}

failed=""
for t in $targets; do
  mkdir -p "$build/corpus/$t" "$build/artifacts/$t" "$build/run/$t"
  log="$build/logs/$t.log"
  # The program writes its error log into the current folder: each target
  # runs in a folder of its own. Standard output (bracket and template
  # warnings) is closed.
  (cd "$build/run/$t" &&
   UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1 \
   "$build/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
     -max_len=8192 -close_fd_mask=1 -print_final_stats=1 \
     -dict="$root/fuzz/scrivo.dict" -artifact_prefix="$build/artifacts/$t/" \
     "$build/corpus/$t" "$root/fuzz/corpus/$(seedsOf $t)") >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $status -eq 0 ]; then
    echo "fuzz $t: ${runs:-?} runs in ${seconds}s, nothing found"
  else
    echo "fuzz $t: FAILED (status $status) after ${runs:-?} runs; log $log" >&2
    grep -E "ERROR: |SUMMARY: |runtime error|Test unit written" "$log" | head -n 10 >&2
    failed="$failed $t"
  fi
done
if [ -n "$failed" ]; then
  echo "fuzz: findings in:$failed" >&2
  exit 1
fi
echo "fuzz: every target ran ${seconds}s without a finding"
