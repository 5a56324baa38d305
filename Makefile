# Quintrel: build, test, demo and benchmark. Every target installs what it needs first.
.PHONY: all deps build msi test demo fuzz bench format clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

msi: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target msi

test: build
	@tools/run-tests.sh

demo: build
	@/usr/bin/python3 tools/demo.py

# Longer fuzzer runs (FUZZ_SECONDS each, 600 unless given); findings in build-host/fuzz-findings.
fuzz: deps
	@cmake --preset host -DFUZZ_SECONDS=$${FUZZ_SECONDS:-600} >/dev/null
	@cmake --build --preset host
	@ctest --preset host -L fuzz

# A benchmark, not a test: what a pass costs beyond its fixed pauses (README, Performance).
bench: build
	@/usr/bin/python3 tools/bench/benchmark.py

format:
	@clang-format -i $$(git ls-files -co --exclude-standard '*.cpp' '*.h')

clean:
	@rm -rf build build-host
