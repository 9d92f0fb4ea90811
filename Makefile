# Thin wrapper over CMake. Every target first installs missing Debian packages.
BUILD        ?= build
WEB_BUILD    ?= build-web
WEB_PORT     ?= 8000
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
SOAK_MINUTES ?= 30
PREFIX       ?= /usr/local
JOBS         ?= $(shell nproc)

.PHONY: all deps configure build run test bench fuzz soak install deb clean web serve-web

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./vornhelm

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

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

# The Debian package $(BUILD)/vornhelm_<version>_<arch>.deb (packaging/deb.cmake).
deb: configure
	@cmake --build $(BUILD) -j $(JOBS) --target deb

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
