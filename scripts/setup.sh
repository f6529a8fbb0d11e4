#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks, then configures and builds Xunbao into build/.
# Run as root (or with sudo) the first time; later runs only build.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  libzip-dev zlib1g-dev libpugixml-dev libgtest-dev libgmock-dev
  arj fonts-noto-cjk python3 python3-dbf pgdbf
  xvfb xauth imagemagick clang-format qt6-translations-l10n
  python3-docx libreoffice-writer-nogui poppler-utils
  libpq-dev postgresql
  libxlsxwriter-dev qt6-charts-dev python3-openpyxl
  help2man librsvg2-bin lintian desktop-file-utils appstream x11-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
