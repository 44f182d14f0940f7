#!/usr/bin/env bash
# Sets up a Debian 12 machine for Stiftolino, builds it, and runs it or its tests.
#   ./dev.sh run    install what is missing, build, start the program
#   ./dev.sh test   install what is missing, build, run the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES="cmake g++ make pkg-config fonts-dejavu-core qt6-base-dev qt6-multimedia-dev
  qt6-svg-dev libsndfile1-dev libxkbcommon-dev qt6-qpa-plugins libx11-dev libxtst-dev qt6-translations-l10n"
# What the tests start or read besides the program: an X server with xdotool and a
# window manager (openbox, fluxbox, icewm), a sound server and its tools, an
# independent image reader, a print spooler with a PDF queue and a PDF reader, and
# the desktop's validators for the installed desktop entry, metainfo and manual.
# The suite runs a second time built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, with the libFuzzer targets (fuzz/) in the same build.
TEST_PACKAGES="xvfb xauth xdotool x11-utils openbox fluxbox icewm pulseaudio pulseaudio-utils imagemagick
  cups cups-client printer-driver-cups-pdf poppler-utils desktop-file-utils appstream tidy
  clang libfuzzer-14-dev"

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get -o DPkg::Lock::Timeout=300 update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=300 install -y -q \
        --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j"$(nproc)"
}

case "${1:-}" in
run)
    # shellcheck disable=SC2086
    install_missing $BUILD_PACKAGES
    build
    exec ./build/stiftolino
    ;;
test)
    # shellcheck disable=SC2086
    install_missing $BUILD_PACKAGES $TEST_PACKAGES
    build
    ctest --test-dir build --output-on-failure -j"$(nproc)"
    # The whole suite again under AddressSanitizer (leaks included) and
    # UndefinedBehaviorSanitizer, built with clang; then every fuzz target for 20 s.
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
        -DCMAKE_CXX_COMPILER=clang++ -DSANITIZE=ON -DFUZZ=ON >/dev/null
    cmake --build build-asan -j"$(nproc)"
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
    fuzz/run.sh 20 build-asan
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
