# Entry points for newcomers and CI. Everything else is plain CMake presets.
PRESET ?= dev
BUILD   = build/$(PRESET)
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test bench fuzz asan package format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset $(PRESET) >/dev/null
	cmake --build --preset $(PRESET)

run: build
	@scripts/run-viewer.sh $(BUILD)

test: build
	ctest --preset $(PRESET)

bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release
	for b in build/release/bench/bench_*; do $$b; done

fuzz: deps
	fuzz/run.sh $(FUZZ_SECONDS) build/fuzz

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan

# build/package/plotwell_<version>_<arch>.deb
package: deps
	cmake --preset package >/dev/null
	cmake --build --preset package --target package

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
