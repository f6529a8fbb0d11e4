#!/usr/bin/env bash
# Sets everything up and starts Xunbao on the data directory the build creates (build/data).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec ./build/xunbao "$@"
