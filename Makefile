# Thin wrapper over CMake. Every target first installs missing Debian packages.
BUILD        ?= build
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS         ?= $(shell nproc)

.PHONY: all deps configure build run test bench fuzz clean

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

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
