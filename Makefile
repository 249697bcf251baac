# The two commands a newcomer needs: `make run` and `make test`.
# Both install whatever Debian packages are missing first.

BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
JOBS ?= 2

PACKAGES := cmake ninja-build g++ make ccache libgtest-dev libbenchmark-dev unifont
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test deps configure build bench clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Builds only what the demonstration needs.
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target lumadot-cli lumadot-fonts
	@echo '$$ printf 中A | $(BUILD_DIR)/bin/lumadot-cli extract'
	@printf '中A' | $(BUILD_DIR)/bin/lumadot-cli extract
	@echo

# Tests run with AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors.
test: deps
	cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DLUMADOT_SANITIZE=ON -DLUMADOT_WERROR=ON -DLUMADOT_BENCHMARKS=OFF
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bin/lumadot-bench

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR)
