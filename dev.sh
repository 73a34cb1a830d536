#!/usr/bin/env bash
# Glyphery's one entry point for a Debian machine:
#   ./dev.sh run    install what is missing, build, start the editor
#   ./dev.sh test   install what is missing, build, run every test
#   ./dev.sh bench  install what is missing, build, run the benchmarks
#   ./dev.sh sanitize  every test built with AddressSanitizer and
#                   UndefinedBehaviorSanitizer (g++) in build-sanitize/
#   ./dev.sh fuzz [SECONDS]  the libFuzzer targets fuzz/fuzz_*.cpp (clang) in
#                   build-fuzz/, each run for SECONDS (default 60), three at a
#                   time; a finding fails the command and its input is kept in
#                   build-fuzz/findings/
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libpng-dev libjpeg-dev zlib1g-dev
          libgtest-dev libgmock-dev libbenchmark-dev libxkbcommon-dev
          fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
          xvfb openbox x11-utils clang libclang-rt-14-dev console-setup-linux)

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

# Leaks that are not ours, left at exit by the libraries Qt loads: the
# caches of fontconfig (Qt's font database) and a D-Bus connection buffer
# (the X11 platform plugin). Nothing of Qt itself is suppressed.
write_leak_suppressions() {
    printf 'leak:libfontconfig.so\nleak:libdbus-1.so\n' > "$1"
}

sanitize() {
    local flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
    cmake --build build-sanitize
    write_leak_suppressions build-sanitize/leaks.supp
    cd build-sanitize
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
    LSAN_OPTIONS="suppressions=$PWD/leaks.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)"
}

# One fuzz target for $2 seconds; its log and findings go to build-fuzz/.
fuzz_one() {
    local name="$1" seconds="$2" seeds="fuzz/seeds/${1#fuzz_}"
    mkdir -p "build-fuzz/corpus/$name"
    [ -d "$seeds" ] || seeds=""
    if "build-fuzz/fuzzers/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$name-" \
        "build-fuzz/corpus/$name" $seeds >"build-fuzz/logs/$name.log" 2>&1; then
        echo "$name: $(grep -o 'number_of_executed_units: [0-9]*' "build-fuzz/logs/$name.log" | tail -1)" \
             "in $(grep -o 'Done [0-9]* runs in [0-9]* second' "build-fuzz/logs/$name.log" | tail -1 | awk '{print $5}') s"
    else
        echo "$name: FINDING, see build-fuzz/logs/$name.log and build-fuzz/findings/" >&2
        grep -E "^(==[0-9]+==ERROR|SUMMARY|.*runtime error|artifact_prefix|Test unit written)" \
            "build-fuzz/logs/$name.log" | head -10 >&2
        return 1
    fi
}

fuzz() {
    local seconds="${1:-60}"
    local flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
    flags+=" -DFUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION"  # smaller limits, see platform/image_codecs.h
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DGLYPHERY_FUZZ=ON -DBUILD_TESTING=OFF \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
    cmake --build build-fuzz --target fuzzers
    mkdir -p build-fuzz/findings build-fuzz/logs
    local failed=0 running=0 source
    for source in fuzz/fuzz_*.cpp; do
        if [ "$running" -ge 3 ]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
        fuzz_one "$(basename "$source" .cpp)" "$seconds" &
        running=$((running + 1))
    done
    while [ "$running" -gt 0 ]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    return "$failed"
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
    sanitize)
        install_missing
        sanitize
        ;;
    fuzz)
        install_missing
        fuzz "${2:-60}"
        ;;
    *)
        echo "usage: ./dev.sh run | test | bench | sanitize | fuzz [SECONDS]" >&2
        exit 2
        ;;
esac
