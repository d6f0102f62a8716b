# SPDX-License-Identifier: GPL-2.0-or-later
# Wraps configure, build and test, and first installs whatever build packages are missing.
#   make          build build/veldrin
#   make demo     build, then list the example map
#   make check    build, then run the whole test suite
#   make bench    build, then time veldrin against the floor and lzop (BENCH_MODE=--callgrind counts instructions)

BUILD ?= build
BUILD_TYPE ?= Release
BENCH_MODE ?=

.PHONY: all deps configure build demo check bench clean

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

bench: build
	@tools/install-build-deps hyperfine lzop valgrind python3 time
	bench/run-bench --build $(BUILD) $(BENCH_MODE)

clean:
	rm -rf $(BUILD)

# Installing and packaging.
#   make install        build, then install under PREFIX (default /usr/local); DESTDIR is honoured
#   make package        build the Debian package $(BUILD)/veldrin_<version>_<arch>.deb
#   make package-check  install the packaging tools, then check the manual page, the install and the package
#   make windows-dist   zip $(WINDOWS_BUILD)/Veldrin.exe with README and LICENSE
PREFIX ?= /usr/local
VERSION := $(shell sed -n 's/^project.Veldrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
WINDOWS_BUILD ?= build-windows

.PHONY: install package package-check windows-dist

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

package: build
	@tools/install-build-deps dpkg-dev
	@cmake --build $(BUILD) --target package

package-check: build
	@tools/install-build-deps dpkg-dev mandoc
	ctest --test-dir $(BUILD) --output-on-failure -L packaging

windows-dist: windows
	@tools/install-build-deps zip unzip
	packaging/windows-dist $(WINDOWS_BUILD)/Veldrin.exe $(VERSION) $(WINDOWS_BUILD)
