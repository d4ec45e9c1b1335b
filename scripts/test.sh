#!/usr/bin/env bash
# The test command: installs what is missing, checks formatting and naming,
# builds the debug and sanitizer builds, and runs the whole test suite under a
# virtual X server; then the Windows stage (scripts/test-windows.sh). Exits non-zero on
# any failure.
set -uo pipefail
cd "$(dirname "$0")/.."

# A UTF-8 locale, whatever the caller's environment names: in the C locale of
# a bare environment (a minimal install, a container) Wine turns the Japanese
# file names and arguments that the tests hand to Windows programs into other
# bytes. C.UTF-8 is on every Debian 12.
if [[ $(locale charmap 2>/dev/null) != UTF-8 ]]; then
    export LC_ALL=C.UTF-8
fi

scripts/setup.sh || exit 1

failures=()
step() { # step NAME COMMAND...: runs one stage, remembering a failure
    local name=$1 start=$SECONDS
    shift
    echo "== $name"
    if ! "$@"; then
        failures+=("$name")
    fi
    echo "== $name: $((SECONDS - start)) s"
}

check_format() { # the layout (clang-format) and the host's layers
    local unformatted status=0
    scripts/check-layers.sh || status=1
    unformatted=$(git ls-files -- '*.cpp' '*.h' '*.c' | xargs -r clang-format --dry-run 2>&1 |
        grep -oE '^[^:]+:[0-9]+:[0-9]+: warning' | cut -d: -f1 | sort -u)
    if [[ -n "$unformatted" ]]; then
        echo "Not formatted (run clang-format -i on them):"
        echo "$unformatted"
        return 1
    fi
    return $status
}

# The names (.clang-tidy) take clang-tidy a few minutes of CPU, almost all of
# it parsing Qt's and GoogleTest's headers. The test suites leave much of the
# machine idle while they wait on programs and virtual screens, so the check
# runs beside them at the lowest priority, where it takes that idle time
# instead of adding its own minutes; it starts after the builds, which keep
# every core busy and configure the build folders it reads.
naming_log=$(mktemp)
trap 'rm -f "$naming_log"' EXIT
start_naming() {
    nice -n 19 scripts/check-naming.sh >"$naming_log" 2>&1 &
    naming_pid=$!
}
finish_naming() {
    wait "$naming_pid"
    local result=$?
    cat "$naming_log"
    return $result
}

build() { # build PRESET
    cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

run_suite() { # run_suite PRESET
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$1"
}

step "format" check_format
step "build debug" build debug
step "build asan" build asan
start_naming
step "tests debug" run_suite debug
step "tests asan" run_suite asan
if [[ -x scripts/fuzz.sh ]]; then
    step "fuzz (30 s)" scripts/fuzz.sh 30
fi
# The Windows build and its tests under Wine; uses the debug build's Linux
# programs to drive the Windows ones.
step "windows (mingw + Wine)" scripts/test-windows.sh build/debug
step "naming" finish_naming

# A test that skips passes in CTest's count: name each one, with its reason,
# so that nothing goes unchecked unseen.
report_skips() {
    local logs=()
    for log in build/{debug,asan,mingw}/Testing/Temporary/LastTest.log build/mingw/wine-*.log; do
        [[ -f $log ]] && logs+=("$log")
    done
    ((${#logs[@]})) || return 0
    awk '/^\[ RUN      \] / { name = $4 }
         /: Skipped$/ { skipping = 1; why = ""; next }
         /^\[  SKIPPED \] / { if (skipping) { split(FILENAME, part, "/"); print "  " part[2] ": " name ": " why } skipping = 0 }
         skipping { why = why (why == "" ? "" : " ") $0 }' "${logs[@]}" | sort -u
}
skipped=$(report_skips)
echo
if [[ -n $skipped ]]; then
    echo "Skipped, and so not checked (CTest counts them as passed):"
    echo "$skipped"
fi
if ((${#failures[@]})); then
    echo "FAILED: ${failures[*]}"
    exit 1
fi
echo "All stages passed."
