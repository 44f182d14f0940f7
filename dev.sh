#!/usr/bin/env bash
# Sets up a Debian 12 machine for Stiftolino, builds it, and runs it or its tests.
#   ./dev.sh run    install what is missing, build, start the program
#   ./dev.sh test   install what is missing, build, run the whole test suite
#   ./dev.sh check  the everyday loop: build, then the fast tests (no end-to-end ones)
# The build folders and their options are the presets in CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES="cmake g++ make pkg-config fonts-dejavu-core qt6-base-dev qt6-multimedia-dev
  qt6-svg-dev libsndfile1-dev libcups2-dev libxkbcommon-dev qt6-qpa-plugins libx11-dev libxtst-dev
  qt6-translations-l10n"
# What the tests start or read besides the program: an X server with xdotool and a
# window manager (openbox, fluxbox, icewm), a sound server and its tools, an
# independent image reader, a print spooler with a PDF queue and a PDF reader, and
# the desktop's validators for the installed desktop entry, metainfo and manual.
# The suite runs a second time built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, with the libFuzzer targets (fuzz/) in the same build;
# clang-format checks the sources' format.
TEST_PACKAGES="xvfb xauth xdotool x11-utils openbox fluxbox icewm pulseaudio pulseaudio-utils imagemagick
  cups cups-client printer-driver-cups-pdf poppler-utils desktop-file-utils appstream tidy
  clang libfuzzer-14-dev clang-format"

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

build() {   # build <preset>
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j"$(nproc)"
}

# Whether every tracked C++ file is laid out as .clang-format says; prints the
# places that differ and fails when there is one.
check_format() {
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
}

case "${1:-}" in
run)
    # shellcheck disable=SC2086
    install_missing $BUILD_PACKAGES
    build dev
    exec ./build/stiftolino
    ;;
test)
    # shellcheck disable=SC2086
    install_missing $BUILD_PACKAGES $TEST_PACKAGES
    build dev
    ctest --preset dev -j"$(nproc)"
    # The whole suite again under AddressSanitizer (leaks included, but not those
    # inside other libraries: tests/lsan.supp) and UndefinedBehaviorSanitizer,
    # built with clang; then every fuzz target for 20 s.
    build asan
    ctest --preset asan -j"$(nproc)"
    fuzz/run.sh 20 build-asan
    ;;
check)
    # shellcheck disable=SC2086
    install_missing $BUILD_PACKAGES $TEST_PACKAGES
    build dev
    ctest --preset fast -j"$(nproc)"
    ;;
*)
    echo "usage: $0 run|test|check" >&2
    exit 2
    ;;
esac
