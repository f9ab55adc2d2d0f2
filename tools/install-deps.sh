#!/bin/sh
# Installs what the builds and tests need: the host compiler, CMake, Ninja and
# GoogleTest, the mingw-w64 cross compilers for i686 and x86_64, Wine with its
# 32-bit and 64-bit loaders, a virtual X display and the screenshot/window tools.
# Safe to run again: does nothing when everything is already there.
# Runs apt-get as root: directly when started as root, else through sudo.
set -eu

export DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes

# fonts-wine gives the Marlett caption glyphs and Tahoma-like fonts (else screenshots show
# "0 1 r" on the caption buttons).
PACKAGES="g++ cmake ninja-build libgtest-dev clang-format gcc-mingw-w64-i686 g++-mingw-w64-i686
  gcc-mingw-w64-x86-64 g++-mingw-w64-x86-64 wine wine32 wine64 fonts-wine fonts-liberation xvfb xauth
  imagemagick xdotool x11-utils"


missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: missing$missing; run this as root (or install sudo) to install them" >&2
    exit 1
  fi
  SUDO="sudo"
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

echo "install-deps: installing$missing" >&2
$SUDO apt-get update -qq >/dev/null
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
