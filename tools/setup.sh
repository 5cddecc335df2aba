#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test Reelwright. Safe to run again.
set -euo pipefail

packages=(
    build-essential cmake pkgconf googletest
    wine wine64 wine64-tools libwine-dev fonts-wine
    xvfb xauth x11-utils
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev libavdevice-dev
    libsdl1.2-dev libfreetype-dev libpng-dev zlib1g-dev libzip-dev
    fonts-dejavu-core fonts-wqy-zenhei
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    echo "setup: installing ${missing[*]}"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
