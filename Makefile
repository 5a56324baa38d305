# Quintrel: build, test and demo. Every target installs what it needs first.
.PHONY: all deps build msi test demo format clean

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

format:
	@clang-format -i $$(git ls-files -co --exclude-standard '*.cpp' '*.h')

clean:
	@rm -rf build
