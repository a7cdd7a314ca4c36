#!/usr/bin/env bash
# Installs what building and testing Valmeq needs on Debian 12, when missing.
#   tools/deps.sh          the build and the tests
#   tools/deps.sh --fuzz   and clang with libFuzzer and the sanitizer runtimes
#   tools/deps.sh --lint   clang-format only
#   tools/deps.sh --package and what ./package.sh and tools/check-package.sh
#                           use: dpkg-shlibdeps, rsvg-convert for the icons,
#                           the desktop entry, AppStream and lintian checks
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
          libgl-dev fonts-liberation xvfb xauth poppler-utils)
if [ "${1:-}" = --lint ]; then
  packages=(clang-format)
fi
if [ "${1:-}" = --fuzz ]; then
  # libclang-rt-14-dev holds libclang_rt.fuzzer and the sanitizer runtimes.
  packages+=(clang llvm libclang-rt-14-dev)
fi
if [ "${1:-}" = --package ]; then
  packages+=(dpkg-dev file librsvg2-bin desktop-file-utils appstream lintian man-db)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installation des paquets manquants : ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
