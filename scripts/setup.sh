#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the environment need,
# skipping those already present. Run as root on a fresh Debian machine.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev libyaml-cpp-dev
    clang libclang-rt-dev clang-format clang-tidy valgrind
    lua5.4  # only the yardstick of bench/lua_compare.sh
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-documentation-tools libgl-dev
    libqt6sql6-sqlite adwaita-icon-theme fonts-dejavu-core qt6-translations-l10n
    xvfb xauth
    neovim
    dpkg-dev file lintian
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
fi
