#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the app and its .deb
# (cpack: dpkg-shlibdeps, file) need; only the missing ones, with sudo when not
# root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev googletest
  libpng-dev libgif-dev libseccomp-dev
  fonts-noto-cjk
  qt6-translations-l10n
  xvfb xauth x11-utils xclip
  desktop-file-utils libgtk-3-bin appstream man-db shared-mime-info
  dpkg-dev file
  python3
)
if [ "${TESSEL_FUZZ_DEPS:-0}" = 1 ]; then packages+=(clang libclang-rt-14-dev); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
