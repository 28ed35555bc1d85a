#!/usr/bin/env bash
# Installs every Debian package that building, testing, running and packaging
# Veradune need (dpkg-dev: dpkg-shlibdeps, which finds the package's dependencies).
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake pkg-config \
  libxml2-dev libcurl4-openssl-dev libsqlite3-dev libgtest-dev googletest libbenchmark-dev libcpp-httplib-dev \
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev fonts-noto-cjk xvfb xauth \
  clang-14 libclang-rt-14-dev llvm-14 \
  dpkg-dev file desktop-file-utils
