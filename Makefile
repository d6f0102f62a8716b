# SPDX-License-Identifier: GPL-2.0-or-later
# Wraps configure, build and test, and first installs whatever build packages are missing.
#   make          build build/veldrin
#   make demo     build, then list the example map
#   make check    build, then run the whole test suite

BUILD ?= build
BUILD_TYPE ?= Release

.PHONY: all deps configure build demo check clean

all: build

deps:
	@tools/install-build-deps

configure: deps
	@if [ -f $(BUILD)/CMakeCache.txt ]; then cmake $(BUILD) >/dev/null; \
	else cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null; fi

build: configure
	@cmake --build $(BUILD)

demo: build
	$(BUILD)/veldrin $(BUILD)/example.Map.Gbx

check: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

clean:
	rm -rf $(BUILD)
