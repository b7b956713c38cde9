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
# A mirror in the middle of a sync fails one index now and then: try again, and where one still
# fails go on with what was read; the install below says if a package cannot be had.
for attempt in 1 2; do
  $sudo apt-get update -qq && break
  echo "apt-get update failed (attempt $attempt)"
  sleep 3
done
apt_install() { $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
apt_install "${missing[@]}" && exit 0
[[ " ${missing[*]} " == *" wine32:i386 "* ]] || exit 1
# 32-bit Wine needs every i386 library at the version of its amd64 twin; an i386 index that could
# not be read leaves them apart. Everything else is still needed; the 32-bit runs then say that
# they are skipped and why.
others=()
for package in "${missing[@]}"; do [ "$package" = wine32:i386 ] || others+=("$package"); done
echo "Installing without wine32:i386, which cannot be installed from these package lists"
[ ${#others[@]} -eq 0 ] || apt_install "${others[@]}"
# The 32-bit build still needs Wine's 32-bit OLE type library, which its IDL files import: taken
# from the package that holds it, not installed.
stdole=/usr/lib/i386-linux-gnu/wine/i386-windows/stdole2.tlb
if [ ! -f "$stdole" ]; then
  unpacked=$(mktemp -d)
  trap 'rm -rf "$unpacked"' EXIT
  (cd "$unpacked" && chmod 777 . && apt-get download -qq libwine:i386 && dpkg-deb -x libwine_*.deb extracted) ||
    { echo "Cannot take $stdole from libwine:i386: the 32-bit DLLs cannot be built" >&2; exit 1; }
  $sudo install -D -m 644 "$unpacked/extracted$stdole" "$stdole"
fi
