# SPDX-License-Identifier: Zlib
# Thin wrapper over CMake. Every target first installs missing Debian packages.
BUILD        ?= build
WEB_BUILD    ?= build-web
WEB_PORT     ?= 8000
FUZZ_BUILD   ?= build-fuzz
CROSS_BUILD  ?= build-arm64
FUZZ_SECONDS ?= 60
SOAK_MINUTES ?= 30
PREFIX       ?= /usr/local
JOBS         ?= $(shell nproc)

.PHONY: all deps configure build run test test-repro test-cross bench fuzz soak install deb clean web serve-web mutate

all: build

deps:
	@./scripts/install-deps.sh

# A developer's build: the tests, and the sanitized game the soak plays.
configure: deps
	@cmake -S . -B $(BUILD) -DVORNHELM_SOAK=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./vornhelm

# Every test but the reproducibility check, which builds the packages twice
# from scratch (make test-repro).
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE '^repro$$'

test-repro: build
	cd $(BUILD) && ctest --output-on-failure -L '^repro$$'

# The game cross-built for arm64 replays the regression games under qemu to
# the ends recorded on x86-64, on the data folder the native build generates.
test-cross: configure
	@./scripts/install-cross-deps.sh
	@cmake --build $(BUILD) -j $(JOBS) --target vornhelm_assets
	@cmake -S . -B $(CROSS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
	    -DVORNHELM_DATA_DIR=$(abspath $(BUILD))/data >/dev/null
	@cmake --build $(CROSS_BUILD) -j $(JOBS) --target vornhelm
	cd $(CROSS_BUILD) && ctest -L cross --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target benches
	@./scripts/run-benches.sh $(BUILD)/bench

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DVORNHELM_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@./scripts/run-fuzzers.sh $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

# The browser version in $(WEB_BUILD)/, with the data folder the native build
# generates.
web: configure
	@cmake --build $(BUILD) -j $(JOBS) --target vornhelm_assets
	@JOBS=$(JOBS) ./scripts/build-web.sh $(WEB_BUILD) $(BUILD)/data

# Serves the browser version on this machine only.
serve-web: web
	@echo "Vornhelm: open http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops the server)"
	@cd $(WEB_BUILD)/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The sanitizer build of the whole game plays random input for SOAK_MINUTES.
soak: configure
	@cmake --build $(BUILD) -j $(JOBS) --target soak_game
	@cd $(BUILD) && SOAK_MINUTES=$(SOAK_MINUTES) \
	    ASAN_OPTIONS=abort_on_error=0:halt_on_error=1:handle_abort=1:detect_leaks=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ./soak_game

# The game, its data, a launcher, a desktop entry and icons under PREFIX.
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian packages in $(BUILD)/deb/, built by dpkg-buildpackage from a
# clean copy of the tree (scripts/build-deb.sh); DEB_BUILD_OPTIONS=nocheck
# skips their tests.
deb: deps
	@./scripts/build-deb.sh $(BUILD)/deb

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(WEB_BUILD) $(CROSS_BUILD)

# Plants the faults of scripts/mutations.txt one at a time in a scratch clone
# of the committed tree and prints the score and the survivors (long: about a
# minute a fault; not part of `make test`).
mutate: deps
	@JOBS=$(JOBS) ./scripts/mutate.sh
