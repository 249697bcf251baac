#!/usr/bin/env bash
# Builds the libraries the Windows programs need and mingw-w64 has no Debian
# package for (FreeType, giflib, libpng, libjpeg-turbo) from Debian's own
# source packages, as static archives in a sysroot of the build's:
#   scripts/windows_deps.sh SYSROOT
# The sources come through scripts/debian_source.sh. A library already in the
# sysroot is not built again.
set -euo pipefail
sysroot=$(realpath -m "${1:?usage: windows_deps.sh SYSROOT}")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
toolchain=$here/cmake/toolchains/mingw-w64-x86_64.cmake
work=$sysroot/../deps
jobs=${JOBS:-2}
mkdir -p "$sysroot/include" "$sysroot/lib" "$sysroot/licences" "$work"

# shellcheck source=scripts/debian_source.sh
source "$here/scripts/debian_source.sh"

cmake_build() {  # source folder, then the project's own options
  local source=$1; shift
  cmake -S "$source" -B "$source/build-mingw" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DLUMADOT_WINDOWS_SYSROOT="$sysroot" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sysroot" \
    -DCMAKE_CROSSCOMPILING_EMULATOR= -DBUILD_SHARED_LIBS=OFF "$@" >&2
  cmake --build "$source/build-mingw" -j "$jobs" >&2
  cmake --install "$source/build-mingw" >&2
}

if [ ! -f "$sysroot/lib/libpng.a" ]; then
  echo "Building libpng for Windows" >&2
  cmake_build "$(debian_source libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
  [ -f "$sysroot/lib/libpng.a" ] || cp "$sysroot"/lib/libpng16*.a "$sysroot/lib/libpng.a"
fi
if [ ! -f "$sysroot/lib/libjpeg.a" ]; then
  echo "Building libjpeg-turbo for Windows" >&2
  cmake_build "$(debian_source libjpeg-turbo)" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_INSTALL_LIBDIR="$sysroot/lib" -DCMAKE_INSTALL_INCLUDEDIR="$sysroot/include"
fi
if [ ! -f "$sysroot/lib/libfreetype.a" ]; then
  echo "Building FreeType for Windows" >&2
  # Against mingw's zlib: FreeType's own copy would clash with it at the link.
  cmake_build "$(debian_source freetype)" -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON
fi
if [ ! -f "$sysroot/lib/libgif.a" ]; then
  echo "Building giflib for Windows" >&2
  # giflib builds with a Makefile made for Unix shared libraries: its library is a handful of C files.
  source=$(debian_source giflib)
  rm -rf "$source/build-mingw" && mkdir "$source/build-mingw"
  for file in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
    [ -f "$source/$file.c" ] || continue
    x86_64-w64-mingw32-gcc-posix -O2 -c "$source/$file.c" -I"$source" -o "$source/build-mingw/$file.o"
  done
  x86_64-w64-mingw32-ar rcs "$sysroot/lib/libgif.a" "$source"/build-mingw/*.o
  cp "$source/gif_lib.h" "$sysroot/include/"
fi
# CLI11 is headers alone: Debian's, copied, since the cross build must not see the rest of /usr/include.
if [ ! -d "$sysroot/include/CLI" ]; then
  [ -f /usr/include/CLI/CLI.hpp ] || { echo "CLI11 not found: apt-get install libcli11-dev" >&2; exit 1; }
  cp -r /usr/include/CLI "$sysroot/include/"
fi
# What the programs link, from the sources above, mingw-w64 and Debian's packages: its terms travel with it.
for source in "$work"/src-*/*/debian/copyright; do
  package=${source#"$work"/src-}
  cp "$source" "$sysroot/licences/${package%%/*}.txt"
done
for package in libcli11-dev libz-mingw-w64 mingw-w64-common gcc-mingw-w64-base; do
  cp "/usr/share/doc/$package/copyright" "$sysroot/licences/$package.txt"
done
echo "Windows libraries ready in $sysroot" >&2
