# The two commands a newcomer needs: `make run` and `make test`.
# Both install whatever Debian packages are missing first.

BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
JOBS ?= 2
# ccache hits from any clone of the tree: paths are hashed relative to the top folder.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

# Qt 6 for the desktop program and the serial port; two Chinese font families so every caption
# and the input box draw real glyphs; zlib for the preview's PNG; CLI11 for the tools' options;
# as31 and sdcc so the tests build the assembler and C output with real 8051 toolchains, and
# the sign's firmware, which sdcc-ucsim's s51 runs;
# FreeType and WenQuanYi Bitmap Song for the real fonts the layout detector is tested on; fontconfig
# for the fonts installed on the system;
# giflib for the sign's animations, and socat to join two pseudo-terminals into a serial line;
# man, the desktop-entry and AppStream validators for the checks of the install tree; python3
# for the check that keeps every function short; Qt's lupdate and lrelease (and their CMake
# functions) for the windows' English; Qt's own Chinese for its dialogs' buttons.
PACKAGES := cmake ninja-build g++ make ccache libgtest-dev libbenchmark-dev unifont zlib1g-dev qt6-tools-dev qt6-l10n-tools \
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-translations-l10n libcli11-dev fonts-arphic-uming fonts-wqy-zenhei as31 sdcc sdcc-ucsim \
  libfreetype-dev libfontconfig-dev xfonts-wqy fonts-dejavu-core fonts-unifont xfonts-unifont xfonts-utils libgif-dev libpng-dev libjpeg-dev socat \
  man-db groff-base desktop-file-utils appstream python3 xvfb openbox xdotool xclip imagemagick
SCREENSHOT_PACKAGES := xvfb openbox xdotool xclip imagemagick
# clang with its libFuzzer and sanitizer runtimes, for the fuzz targets.
FUZZ_PACKAGES := clang libclang-rt-dev
# dpkg-shlibdeps for the package's dependencies, lintian to check it.
PACKAGE_PACKAGES := dpkg-dev file lintian desktop-file-utils appstream
PACKAGE_BUILD_DIR ?= build-package
# The Windows programs: mingw-w64 with posix threads and its zlib; GoogleTest's and CLI11's
# sources and headers, which the cross build compiles as they are; dpkg-dev to unpack the
# Debian source packages of FreeType, giflib, libpng and libjpeg-turbo; wine64 to run
# lumadot-mkfont.exe, which builds the zip's fonts, and the tests, with its preloader, without
# which a start now and then fails to map wine's shared page; socat for their serial lines;
# the host's Qt tools (moc, uic, rcc, lrelease), which the Windows Qt is built against and
# the windows are built with; Qt's own Chinese for the windows' dialogs; the fonts the
# windows' tests draw with under wine; sdcc for the sign's firmware in the zip; NSIS for the
# installer; unzip for the tests of the zip.
WINDOWS_PACKAGES := cmake ninja-build ccache g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest libcli11-dev \
  dpkg-dev unifont wine wine64 wine64-preloader socat qt6-base-dev qt6-base-dev-tools qt6-tools-dev \
  qt6-l10n-tools qt6-translations-l10n fonts-dejavu-core fonts-wqy-zenhei fonts-arphic-uming sdcc nsis unzip
WINDOWS_BUILD_DIR ?= build-windows
WINDOWS_CMAKE := cmake -S . -B $(WINDOWS_BUILD_DIR)/build -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
  -DLUMADOT_WINDOWS_SYSROOT=$(abspath $(WINDOWS_BUILD_DIR))/sysroot -DCMAKE_BUILD_TYPE=Release -DLUMADOT_WERROR=ON \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
# The tests' build: sanitizers, warnings as errors.
TEST_CMAKE := cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DLUMADOT_SANITIZE=ON -DLUMADOT_WERROR=ON -DLUMADOT_BENCHMARKS=OFF
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# Installing into a folder we cannot write (/usr/local) needs root; a folder of our own does not.
# A PREFIX yet to be made is ours when its nearest existing parent is.
SUDO_IF_NOT_OURS = $(shell p='$(PREFIX)'; while [ ! -e "$$p" ]; do p=$$(dirname "$$p"); done; \
  [ -w "$$p" ] || echo $(SUDO))

.PHONY: windows windows-test run test fuzz deps configure build firmware install uninstall package bench bench-mkfont screenshot clean

# Installs whichever of the packages in $(1) are missing.
define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Everything: the programs and fonts, the icons and man pages, the tests and, with
# Google Benchmark, the benchmark.
build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The sign's firmware for the 8051: $(BUILD_DIR)/firmware/lumadot-sign.hex and its map,
# and an image for each STC part (docs/firmware.md).
firmware: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target firmware

# Builds the four programs and the fonts, then starts the desktop program; without a
# display, shows the command-line tool instead.
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target lumadot-programs
	@if [ -n "$${DISPLAY}$${WAYLAND_DISPLAY}" ]; then \
	  $(BUILD_DIR)/bin/lumadot; \
	else \
	  echo "No display here (DISPLAY and WAYLAND_DISPLAY are unset), so here is lumadot-cli instead of the window:"; \
	  echo '$$ printf 中A | $(BUILD_DIR)/bin/lumadot-cli extract' && \
	  printf '中A' | $(BUILD_DIR)/bin/lumadot-cli extract && echo; \
	fi

# Installs the programs, fonts, menu entries, man pages and completion under PREFIX.
install: build
	$(SUDO_IF_NOT_OURS) cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip

# Removes what the last `make install` put in, as its manifest lists it, and the two
# folders that are ours alone, once empty; shared ones (share/man/man1, the icons) stay.
uninstall:
	@test -f $(BUILD_DIR)/install_manifest.txt || { echo "Nothing installed from $(BUILD_DIR)."; exit 1; }
	xargs -d '\n' $(SUDO_IF_NOT_OURS) rm -fv < $(BUILD_DIR)/install_manifest.txt
	-$(SUDO_IF_NOT_OURS) rmdir -v --ignore-fail-on-non-empty $(PREFIX)/share/lumadot $(PREFIX)/share/doc/lumadot

# lumadot_VERSION_ARCH.deb in this folder, built in release with Debian's hardening flags,
# then checked with lintian and the desktop-entry and AppStream validators.
package:
	$(call install_missing,$(PACKAGES) $(PACKAGE_PACKAGES))
	BUILD_DIR=$(PACKAGE_BUILD_DIR) JOBS=$(JOBS) scripts/package.sh

# Tests run with AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors.
test: deps
	$(TEST_CMAKE)
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# lumadot-VERSION-windows-x64.zip and lumadot-VERSION-setup.exe, which installs the same
# files, in $(WINDOWS_BUILD_DIR)/build: the programs cross-built with mingw-w64, the DLLs they
# load, their fonts, the sign's firmware, READMEs and the licences (docs/windows.md).
windows:
	$(call install_missing,$(WINDOWS_PACKAGES))
	JOBS=$(JOBS) scripts/windows_deps.sh $(WINDOWS_BUILD_DIR)/sysroot
	JOBS=$(JOBS) scripts/windows_qt.sh >/dev/null
	$(WINDOWS_CMAKE) -DLUMADOT_WINDOWS_QT=$$(scripts/windows_qt.sh --where) -DLUMADOT_GUI=ON
	scripts/wine_run.sh --session cmake --build $(WINDOWS_BUILD_DIR)/build -j $(JOBS) --target lumadot-windows-deploy \
	  lumadot-windows-zip lumadot-windows-setup
	@ls -l $(WINDOWS_BUILD_DIR)/build/lumadot-*-windows-x64.zip $(WINDOWS_BUILD_DIR)/build/lumadot-*-setup.exe

# The Windows build's unit tests under wine, then its programs and windows against the Linux
# build's, then the installer's round trip.
windows-test: windows
	$(call install_missing,$(PACKAGES))
	cmake --build $(WINDOWS_BUILD_DIR)/build -j $(JOBS)
	cd $(WINDOWS_BUILD_DIR)/build && $(CURDIR)/scripts/no_serial_devices.sh \
	  $(CURDIR)/scripts/wine_run.sh --session ctest --output-on-failure -j $(JOBS)
	$(TEST_CMAKE)
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS) --target lumadot-cli lumadot-mkfont lumadot-fonts code_table_dump \
	  lumadot lumadot-workbench lumadot-sign firmware
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 scripts/windows_test.sh $(TEST_BUILD_DIR)/bin $(WINDOWS_BUILD_DIR)/build/bin
	scripts/windows_window_test.sh $(TEST_BUILD_DIR)/bin $(WINDOWS_BUILD_DIR)/build/bin
	scripts/windows_install_test.sh $(WINDOWS_BUILD_DIR)/build

# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS (FUZZ_JOBS at once).
fuzz: deps
	$(call install_missing,$(FUZZ_PACKAGES))
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_JOBS=$(FUZZ_JOBS) JOBS=$(JOBS) scripts/fuzz.sh

# Retakes docs/main-window.png and docs/sign-window.png under Xvfb.
screenshot: configure
	$(call install_missing,$(SCREENSHOT_PACKAGES))
	cmake --build $(BUILD_DIR) -j $(JOBS) --target lumadot lumadot-sign lumadot-workbench lumadot-cli lumadot-fonts
	scripts/screenshot.sh $(BUILD_DIR)/bin docs/main-window.png
	scripts/sign_screenshot.sh $(BUILD_DIR)/bin docs/sign-window.png
	scripts/workbench_screenshot.sh $(BUILD_DIR)/bin docs/workbench.png

bench: build
	$(BUILD_DIR)/tests/bin/lumadot-bench
	XDG_CONFIG_HOME=$$(mktemp -d) $(BUILD_DIR)/tests/bin/lumadot-workbench-bench

# lumadot-mkfont against lv_font_conv, which the script installs from npm.
bench-mkfont: build
	$(SUDO) apt-get install -y -q time npm >/dev/null
	MKFONT=$(BUILD_DIR)/bin/lumadot-mkfont scripts/bench_mkfont.sh

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(PACKAGE_BUILD_DIR) $(WINDOWS_BUILD_DIR) build-fuzz
