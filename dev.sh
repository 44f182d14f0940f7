#!/usr/bin/env bash
# Sets up a Debian 12 machine for Stiftolino, builds it, and runs it or its tests.
#   ./dev.sh run    install what is missing, build, start the program
#   ./dev.sh test   install what is missing, check the format, build, run the whole test suite
#   ./dev.sh check  the everyday loop: format check, build, then the fast tests (no end-to-end ones)
#   ./dev.sh package [folder [work folder]]
#                   install what packaging needs, build the Debian package, check it
#                   with lintian, and leave it in the folder (dist/)
# The build folders and their options are the presets in CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES="cmake g++ make pkg-config fonts-dejavu-core qt6-base-dev qt6-multimedia-dev
  qt6-svg-dev libsndfile1-dev libcups2-dev libxkbcommon-dev qt6-qpa-plugins libx11-dev libxtst-dev
  qt6-translations-l10n"
# What building and checking the Debian package needs besides the build's own
# packages (the test command builds the package too).
PACKAGING_PACKAGES="debhelper dpkg-dev lintian"
# What the tests start or read besides the program: an X server with xdotool and a
# window manager (openbox, fluxbox, icewm), a sound server and its tools, an
# independent image reader, a print spooler with a PDF queue and a PDF reader, and
# the desktop's validators for the installed desktop entry, metainfo and manual.
# The suite runs a second time built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, with the libFuzzer targets (fuzz/) in the same build;
# clang-format checks the sources' format.
TEST_PACKAGES="xvfb xauth xdotool x11-utils openbox fluxbox icewm pulseaudio pulseaudio-utils imagemagick
  cups cups-client printer-driver-cups-pdf poppler-utils desktop-file-utils appstream tidy
  clang libfuzzer-14-dev clang-format $PACKAGING_PACKAGES"

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
    if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        echo "Not a git checkout: the format check is left out" >&2
        return 0
    fi
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror || {
        echo "These places differ from .clang-format; clang-format -i FILE lays a file out" >&2
        return 1
    }
}

# Builds the Debian package from the tracked files, in a copy under the work
# folder so that the checkout stays clean, checks it with lintian (no error,
# warning or remark that debian/stiftolino.lintian-overrides does not explain),
# and copies the .deb into the output folder.
build_package() {   # build_package <output folder> <work folder>
    local out work version arch src
    out=$(realpath -m "$1")
    work=$(realpath -m "$2")
    version=$(dpkg-parsechangelog -S Version)
    arch=$(dpkg-architecture -q DEB_HOST_ARCH)
    src="$work/stiftolino-$version"
    rm -rf "$src" "$work"/stiftolino_*
    mkdir -p "$src" "$out"
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        # The tracked files as they are now, changes not yet committed included.
        git ls-files -z | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
            tar --null -T - -cf - | tar -xf - -C "$src"
    else
        tar --exclude='./build*' --exclude=./dist --exclude=./.git -cf - . | tar -xf - -C "$src"
    fi
    # A package build of its own each time; ccache, where it is installed, keeps
    # the compiler's work between builds in the same work folder.
    if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
        export CMAKE_CXX_COMPILER_LAUNCHER=ccache
    fi
    case "${DEB_BUILD_OPTIONS:-}" in
    *parallel=*) ;;
    *) export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }parallel=$(nproc)" ;;
    esac
    # A distribution build: its own compiler flags (hardening, optimisation) may
    # bring warnings that the developers' build does not see, so CI's warnings-
    # as-errors stays out of it.
    (cd "$src" && env -u CI dpkg-buildpackage -us -uc -b)
    lintian --info --display-info --pedantic --fail-on error,warning,info,pedantic \
        "$work/stiftolino_${version}_${arch}.changes"
    cp "$work/stiftolino_${version}_${arch}.deb" "$out/"
    echo "The package: $out/stiftolino_${version}_${arch}.deb"
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
    check_format
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
    check_format
    build dev
    ctest --preset fast -j"$(nproc)"
    ;;
package)
    # shellcheck disable=SC2086
    install_missing $BUILD_PACKAGES $PACKAGING_PACKAGES
    build_package "${2:-dist}" "${3:-build-package}"
    ;;
*)
    echo "usage: $0 run|test|check|package" >&2
    exit 2
    ;;
esac
