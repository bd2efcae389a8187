#!/usr/bin/env bash
# Builds every target with AddressSanitizer and UndefinedBehaviorSanitizer
# (same compiler as the normal build, so the same doubles) in build-sanitize
# and runs the whole test suite there. Any sanitizer report fails the run.
# The integration tests read the SERIES85 this build makes (or SERIES85=...).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh g++ cmake make libgtest-dev
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAV_BUILD_TESTS=ON -DKAV_SANITIZE=ON)
if [ -n "${SERIES85:-}" ]; then args+=(-DKAV_SERIES85="$(realpath "$SERIES85")"); fi
CXX=g++ cmake -S . -B build-sanitize "${args[@]}" >/dev/null
cmake --build build-sanitize -j2

# The programs install their own signal handlers (io/stop.cpp): SIGFPE turns
# a floating-point trap into the "M" error report, and SIGSEGV/SIGBUS/SIGABRT/
# SIGILL write out the records kept so far before the process dies.
# - handle_sigfpe=0: SIGFPE stays with the program, so the "M600x" reports
#   are tested as they are (with ASan's handler they would become ASan reports).
# - allow_user_segv_handler=0: ASan keeps SIGSEGV and SIGBUS for itself, so a
#   wild access is reported with its stack instead of ending quietly through
#   the program's handler.
# - exitcode=23: a finding never looks like the programs' own status 1.
export ASAN_OPTIONS="${ASAN_OPTIONS:-handle_sigfpe=0:allow_user_segv_handler=0:exitcode=23:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1:exitcode=23}"
cd build-sanitize
ctest --output-on-failure --no-tests=error -j2
