#!/usr/bin/env bash
# Installs what the two builds, the tests and `make run` need, and nothing when it is all there.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
have clang-format || need+=(clang-format)
have shellcheck || need+=(shellcheck)
have clang-tidy || need+=(clang-tidy)
# clang with its libFuzzer, for the fuzz targets.
have clang++ || need+=(clang)
compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-14-dev)
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
have wine || need+=(wine)
[ -e /usr/lib/wine/wine64 ] || need+=(wine64)
have Xvfb || need+=(xvfb)
# The setup program's compiler (`make dist`, and the setup tests).
have makensis || need+=(nsis)
# Wine's own fonts (caption buttons, MS Sans Serif) and a metric twin of Arial.
dpkg -s fonts-wine >/dev/null 2>&1 || need+=(fonts-wine)
dpkg -s fonts-liberation >/dev/null 2>&1 || need+=(fonts-liberation)
have xauth || need+=(xauth)
have import || need+=(imagemagick)
have xwininfo || need+=(x11-utils)
have find || need+=(findutils)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)

if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq || true
    $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
