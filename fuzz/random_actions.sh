#!/usr/bin/env bash
# Builds the application with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan and
# plays it with random clicks and keys under Xvfb, as a user at a real display would (a real X
# clipboard too, which is empty on a fresh display).
#
#   bash fuzz/random_actions.sh [ACTIONS [SEED]]      (10000 actions, a fresh seed by default)
#
# Ends with status 0 when every action was played and no sanitizer reported anything; otherwise
# the report and the seed to play it again are in the log it names.
set -euo pipefail
cd "$(dirname "$0")/.."
actions=${1:-10000}
seed=${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
export CCACHE_BASEDIR="$PWD/.." CCACHE_NOHASHDIR=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DXB_SANITIZE=ON >/dev/null
cmake --build build-asan -j2 --target xunbao_random_actions

log=build-asan/random_actions.log
# Leaks at exit are not faults of a run and Qt's own would drown the report; everything else
# stops the program at its first fault.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
export XDG_RUNTIME_DIR="$(mktemp -d)"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  build-asan/xunbao_random_actions --actions "$actions" --seed "$seed" >"$log" 2>&1 || status=$?
if grep -qE "ERROR: AddressSanitizer|runtime error:|SUMMARY: (Address|UndefinedBehavior)Sanitizer" "$log"; then
  echo "sanitizer report (seed $seed), see $log:"
  grep -E -A30 "ERROR: AddressSanitizer|runtime error:" "$log" | head -60
  exit 1
fi
cat "$log" | grep "^random actions\|^  " || true
if [ "$status" -ne 0 ]; then
  echo "the program ended with status $status (seed $seed), see $log"
  exit 1
fi
echo "no sanitizer report: $actions random actions played (seed $seed)"
