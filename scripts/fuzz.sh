#!/usr/bin/env bash
# Fuzzes the BMP decoder and the settings file's reader and writer with
# libFuzzer, side by side, for SECONDS (default 30).
#
#   scripts/fuzz.sh [SECONDS]
#
# Configures and builds the fuzz preset (clang, the fuzz targets only), seeds
# the BMP corpus with the BMP conformance files when they are present and with
# a generated file of every layout the decoder knows, and the settings corpus
# with the files in fuzz/ini_seeds/, and runs both fuzz targets at once (one
# core each). The corpora grow across runs in the build folder. A finding
# (crash, sanitizer report, leak, timeout, oversized allocation) leaves its
# input under <build>/fuzz-findings/ and makes the script exit non-zero.
#
# KESTRUNE_FUZZ_BUILD_DIR overrides the build folder (default build/fuzz).
set -euo pipefail

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || ((seconds < 1)); then
  echo "usage: scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KESTRUNE_FUZZ_BUILD_DIR:-$root/build/fuzz}"
fixtures="${KESTRUNE_FIXTURES_DIR:-$root/../shared/fixtures}"

cd "$root"
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target kestrune_dib_fuzzer kestrune_dib_seeds kestrune_ini_fuzzer \
  -j "${KESTRUNE_JOBS:-2}"

seeds="$build/fuzz-seeds/dib"
mkdir -p "$seeds"
"$build/fuzz/kestrune_dib_seeds" "$seeds"
if [[ -d "$fixtures/bmpsuite" ]]; then
  cp "$fixtures"/bmpsuite/g/*.bmp "$fixtures"/bmpsuite/b/*.bmp "$seeds"/
else
  echo "fuzz: no BMP conformance files at $fixtures/bmpsuite; seeding with generated files only"
fi

# run_fuzzer NAME SEEDS OPTIONS...: one target over its corpus (where new
# inputs go) and its seeds, its findings kept apart from the other's.
run_fuzzer() {
  local name=$1 seeds=$2
  shift 2
  mkdir -p "$build/fuzz-corpus/$name" "$build/fuzz-findings/$name"
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
  UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    "$build/fuzz/kestrune_${name}_fuzzer" \
    -max_total_time="$seconds" \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-findings/$name/" \
    "$@" "$build/fuzz-corpus/$name" "$seeds"
}

echo "fuzz: running the BMP decoder and settings file fuzzers for ${seconds}s"
# The BMP target decodes pictures of up to 16 MiB and checks only the headers
# of larger ones, so an allocation beyond 64 MiB is a finding. New inputs go
# to the first corpus folder. Each fuzzer's output is printed when it ends.
run_fuzzer dib "$seeds" -max_len=65536 -malloc_limit_mb=64 >"$build/fuzz-dib.log" 2>&1 &
dib=$!
run_fuzzer ini "$root/fuzz/ini_seeds" -max_len=8192 -malloc_limit_mb=64 >"$build/fuzz-ini.log" 2>&1 &
ini=$!
status=0
wait "$dib" || status=1
tail -n 30 "$build/fuzz-dib.log"
wait "$ini" || status=1
tail -n 30 "$build/fuzz-ini.log"
if ((status != 0)); then
  echo "fuzz: a finding; see the logs above and $build/fuzz-findings/"
  exit 1
fi
echo "fuzz: no finding in ${seconds}s"
