#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Vantor needs.
# Idempotent: packages already present are left alone. Must run as root (or via sudo).
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6 libgl-dev qt6-charts-dev libqt6opengl6-dev
  libsqlite3-dev libxlsxwriter-dev libsodium-dev libxxhash-dev libicu-dev libzip-dev libexpat1-dev libfreexl-dev libcli11-dev
  libqpdf-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fonts-noto-cjk-extra qt6-translations-l10n
  xvfb xauth xdotool x11-utils dpkg-dev file
  poppler-utils lintian
  clang-14 libclang-rt-14-dev clang-format-14
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
