#!/usr/bin/env bash
# Installs what the Windows build needs: Debian's mingw-w64 cross compilers, Wine to run what
# they build (with the Noto CJK fonts for its Japanese, and the stand-in portal's HTTP library
# for the desktop program's first start), and a deb-src entry for the distribution's own
# archive, from which every Windows dependency is built. Kept apart from scripts/setup.sh so
# that the Linux build stays lean.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive

src_list=/etc/apt/sources.list.d/veradune-deb-src.sources
if [ ! -f "$src_list" ]; then
  # The same archives and suites as the binary entries, for source packages only.
  tmp=$(mktemp)
  sed -n 's/^Types: deb$/Types: deb-src/; /^#/!p' /etc/apt/sources.list.d/debian.sources >"$tmp"
  $SUDO install -m 0644 "$tmp" "$src_list"
  rm -f "$tmp"
fi

packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 wine zip xvfb xauth dpkg-dev cmake pkg-config ninja-build
  libcpp-httplib-dev fonts-noto-cjk)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ ! -f /var/lib/apt/lists/.veradune-deb-src ]; then
  $SUDO apt-get -o DPkg::Lock::Timeout=900 update
  $SUDO touch /var/lib/apt/lists/.veradune-deb-src
fi
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${missing[@]}"
fi
