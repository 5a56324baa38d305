# Quintrel: build, test, demo and benchmark. Every target installs what it needs first.
.PHONY: all deps build test demo bench format clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

test: build
	@tools/run-tests.sh

demo: build
	@/usr/bin/python3 tools/demo.py

# A benchmark, not a test: what a pass costs beyond its fixed pauses (README, Performance).
bench: build
	@/usr/bin/python3 tools/bench/benchmark.py

format:
	@clang-format -i $$(git ls-files -co --exclude-standard '*.cpp' '*.h')

clean:
	@rm -rf build
