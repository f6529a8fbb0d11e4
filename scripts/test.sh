#!/usr/bin/env bash
# Sets everything up and runs every test (windows are tested offscreen, no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
# The Debian package, installed and used as a new user (as root only; says so when skipped).
bash scripts/test-package.sh
