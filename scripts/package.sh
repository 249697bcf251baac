#!/usr/bin/env bash
# Builds lumadot_VERSION_ARCH.deb into the top of the tree: a release build with
# Debian's hardening flags, packed by CPack, then checked as Debian would check it.
# Fails when lintian finds an error or a validator rejects the menu entries or
# the AppStream metainfo.
#   BUILD_DIR=build-package JOBS=2 scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-package}
flags() { dpkg-buildflags --get "$1"; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DLUMADOT_TESTS=OFF -DLUMADOT_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS) -Wl,-z,now"
cmake --build "$build" -j "${JOBS:-2}"
rm -f "$build"/lumadot_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/lumadot_*.deb)
cp "$deb" .
deb=$(basename "$deb")

desktop-file-validate packaging/desktop/*.desktop
appstreamcli validate --no-net packaging/desktop/*.metainfo.xml
lintian --fail-on error --info "$deb"
echo "built $deb"
