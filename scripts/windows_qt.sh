#!/usr/bin/env bash
# Builds the Qt the Windows desktop programs link: Debian's own qt6-base source
# package, the version of this machine's Qt tools, cross-built with mingw-w64
# as shared libraries into a cache outside the clone, once per machine:
#   scripts/windows_qt.sh            builds it if need be; prints its folder
#   scripts/windows_qt.sh --where    prints the folder it would be in
# The folder's name holds a hash of this script, its toolchain file and the
# source version, so a change to either builds a new Qt beside the old one.
# LUMADOT_QT_CACHE overrides the cache folder (default ~/.cache/lumadot).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
toolchain=$here/cmake/toolchains/mingw-w64-x86_64-qt.cmake
jobs=${JOBS:-2}
# moc, uic and rcc run on this machine: the Qt built must be their version.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null) ||
  { echo "windows_qt.sh: the host's Qt tools are missing: apt-get install qt6-base-dev-tools" >&2; exit 1; }
key=$(cat "$0" "$toolchain" <(echo "qt6-base $version") | sha256sum | cut -c1-12)
cache=${LUMADOT_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumadot}
prefix=$cache/qt-${version%%+*}-mingw-w64-$key
if [ "${1:-}" = --where ]; then echo "$prefix"; exit 0; fi
[ -f "$prefix/.complete" ] && { echo "$prefix"; exit 0; }

mkdir -p "$cache"
exec 9>"$cache/.qt-build.lock"
flock 9  # a second build of the same tree waits for the first
[ -f "$prefix/.complete" ] && { echo "$prefix"; exit 0; }
work=$prefix.work
rm -rf "$prefix" "$work" && mkdir -p "$work"
# shellcheck source=scripts/debian_source.sh
source "$here/scripts/debian_source.sh"
echo "Building Qt $version for Windows in $prefix (about 20 min on two cores the first time)" >&2
started=$(date +%s)
source=$(debian_source "qt6-base=$version")
# Paths hashed relative to the work folder: a rebuild in a new work folder hits the cache.
export CCACHE_BASEDIR=$work CCACHE_NOHASHDIR=1
# OpenGL off through INPUT_opengl: FEATURE_opengl alone leaves dynamicgl on, which the
# platform plugin does not compile without. Debian's source has no wintab, so no tablets;
# direct2d needs directwrite3. What the programs do not use is left out, and every
# third-party library is Qt's own copy, so nothing of this Linux machine leaks in.
cmake -S "$source" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=ON \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DBUILD_WITH_PCH=OFF \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DINPUT_opengl=no -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_tabletevent=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_pkg_config=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF \
  -DFEATURE_system_libb2=OFF >&2
cmake --build "$work/build" -j "$jobs" >&2
cmake --install "$work/build" >&2
# The terms the deployed DLLs carry, and the source offer the LGPL asks for.
mkdir -p "$prefix/licences"
cp "$source/debian/copyright" "$prefix/licences/qt6-base.copyright"
cp "$source/LICENSES/LGPL-3.0-only.txt" "$prefix/licences/" 2>/dev/null ||
  cp "$source"/LICENSE.LGPL3 "$prefix/licences/LGPL-3.0-only.txt"
echo "qt6-base $version" > "$prefix/SOURCE"
echo "$(( $(date +%s) - started )) s, $(date -u +%F)" > "$prefix/BUILD-TIME"
rm -rf "$work"
touch "$prefix/.complete"
echo "Qt for Windows ready in $prefix ($(cat "$prefix/BUILD-TIME"))" >&2
echo "$prefix"
