#!/usr/bin/env bash
# Installs what the builds and tests need, where it is missing: the native toolchain and
# GoogleTest; the mingw-w64 cross compilers for the DLLs; Wine, 64- and 32-bit, for the sandbox
# (the package wine puts wine, wineboot, wineserver and regsvr32 on the PATH; wine64 and wine32
# are the loaders); NSIS for the Windows installer; zip, OpenSSL and osslsigncode for the release
# and its signature. Safe to run again.
set -euo pipefail

packages=(cmake g++ ninja-build libgtest-dev libgmock-dev libbenchmark-dev
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
          libwine-dev wine wine64 wine32:i386 nsis zip
          openssl osslsigncode)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# 32-bit Wine runs the 32-bit DLLs and sandbox.
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
