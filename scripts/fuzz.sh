#!/usr/bin/env bash
# Fuzzes the BMP decoder with libFuzzer for SECONDS (default 30).
#
#   scripts/fuzz.sh [SECONDS]
#
# Configures and builds the fuzz preset (clang, the fuzz targets only), seeds
# a corpus with the BMP conformance files when they are present and with a
# generated file of every layout the decoder knows, and runs the fuzz target.
# The corpus grows across runs in the build folder. A finding (crash, sanitizer
# report, leak, timeout, oversized allocation) leaves its input under
# <build>/fuzz-findings/ and makes the script exit non-zero.
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
cmake --build "$build" --target kestrune_dib_fuzzer kestrune_dib_seeds -j "${KESTRUNE_JOBS:-2}"

corpus="$build/fuzz-corpus/dib"
seeds="$build/fuzz-seeds/dib"
findings="$build/fuzz-findings/dib"
mkdir -p "$corpus" "$seeds" "$findings"
"$build/fuzz/kestrune_dib_seeds" "$seeds"
if [[ -d "$fixtures/bmpsuite" ]]; then
  cp "$fixtures"/bmpsuite/g/*.bmp "$fixtures"/bmpsuite/b/*.bmp "$seeds"/
else
  echo "fuzz: no BMP conformance files at $fixtures/bmpsuite; seeding with generated files only"
fi

echo "fuzz: running the BMP decoder fuzzer for ${seconds}s"
# The target decodes pictures of up to 16 MiB and checks only the headers of
# larger ones, so an allocation beyond 64 MiB is a finding. New inputs go to
# the first corpus folder.
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
  "$build/fuzz/kestrune_dib_fuzzer" \
  -max_total_time="$seconds" \
  -max_len=65536 \
  -timeout=10 \
  -rss_limit_mb=2048 \
  -malloc_limit_mb=64 \
  -print_final_stats=1 \
  -artifact_prefix="$findings/" \
  "$corpus" "$seeds"
echo "fuzz: no finding in ${seconds}s"
