#!/usr/bin/env bash
# Glyphery's one entry point for a Debian machine:
#   ./dev.sh run    install what is missing, build, start the editor
#   ./dev.sh test   install what is missing, build, run every test
#   ./dev.sh bench  install what is missing, build, run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libpng-dev libjpeg-dev zlib1g-dev
          libgtest-dev libgmock-dev libbenchmark-dev libxkbcommon-dev fonts-dejavu-core fonts-liberation2
          xvfb xauth openbox x11-utils)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build
}

case "${1:-}" in
    run)
        install_missing
        build
        exec ./build/glyphery
        ;;
    test)
        install_missing
        build
        cd build
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j "$(nproc)"
        ;;
    bench)
        install_missing
        build
        QT_QPA_PLATFORM=offscreen ./build/bench/glyphery-bench
        ;;
    *)
        echo "usage: ./dev.sh run | test | bench" >&2
        exit 2
        ;;
esac
