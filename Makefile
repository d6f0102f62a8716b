# SPDX-License-Identifier: GPL-2.0-or-later
# Wraps configure, build and test, and first installs whatever build packages are missing.
#   make          build build/veldrin
#   make demo     build, then list the example map
#   make check    build, then run the whole test suite
#   make bench    build, then time veldrin against the floor and lzop (BENCH_MODE=--callgrind counts instructions)
#   make fuzz     build the fuzz targets with libFuzzer and run each for FUZZ_SECONDS (default 60)
#   make sanitize the whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer
#   make memcheck the end-to-end runs and the fuzz corpora under valgrind memcheck
#   make coverage line and branch coverage of src/ by the whole test suite (gcovr)
#   make windows        cross-build build-windows/Veldrin.exe (MinGW-w64, liblzo2 from Debian's source)
#   make windows-check  build both, then run the Windows tests under Wine (unit tests, end to end on Xvfb)

BUILD ?= build
BUILD_TYPE ?= Release
BENCH_MODE ?=

.PHONY: all deps configure build demo check bench clean fuzz sanitize memcheck coverage windows windows-check

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
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD) $(MEMCHECK_BUILD) $(COVERAGE_BUILD) $(WINDOWS_BUILD)

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

# Each check below has a build folder of its own, so that no flags leak into the plain build.
FUZZ_BUILD ?= build-fuzz
SANITIZE_BUILD ?= build-sanitize
MEMCHECK_BUILD ?= build-memcheck
COVERAGE_BUILD ?= build-coverage
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := run body
CLANGXX ?= clang++-14
SANITIZERS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
# A sanitizer's finding exits 99, never the program's own 0 or 1.
SANITIZER_ENV := ASAN_OPTIONS=exitcode=99:detect_leaks=1:strict_string_checks=1 \
	UBSAN_OPTIONS=exitcode=99:halt_on_error=1:print_stacktrace=1
VALGRIND := valgrind --suppressions=$(CURDIR)/tools/valgrind.supp --error-exitcode=99 --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all -q

# configure-in FOLDER, cmake options...: configures once, then only refreshes.
configure-in = if [ -f $(1)/CMakeCache.txt ]; then cmake $(1) >/dev/null; \
	else cmake -S . -B $(1) -G Ninja $(2) >/dev/null; fi

# Every fuzz target runs for FUZZ_SECONDS; an input slower than 10 s is a finding like a crash. New
# inputs gather in FUZZ_BUILD/corpus, findings in FUZZ_BUILD/findings.
fuzz:
	@tools/install-build-deps clang-14 libclang-rt-14-dev
	@$(call configure-in,$(FUZZ_BUILD),-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(CLANGXX) \
		-DVELDRIN_BUILD_TESTS=OFF -DVELDRIN_FUZZER=libfuzzer \
		"-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link $(SANITIZERS)")
	@cmake --build $(FUZZ_BUILD)
	@mkdir -p $(FUZZ_BUILD)/findings
	@for target in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$target; \
		echo "Fuzzing $$target for $(FUZZ_SECONDS) s"; \
		$(FUZZ_BUILD)/fuzz/veldrin_fuzz_$$target -dict=fuzz/veldrin.dict -timeout=10 \
			-max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/findings/$$target- $(FUZZ_BUILD)/corpus/$$target \
			$(FUZZ_BUILD)/fuzz/seeds/$$target fuzz/regressions/$$target || exit 1; \
	done

sanitize:
	@tools/install-build-deps
	@$(call configure-in,$(SANITIZE_BUILD),-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS=-O1 $(SANITIZERS)")
	@cmake --build $(SANITIZE_BUILD)
	$(SANITIZER_ENV) ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j2

memcheck:
	@tools/install-build-deps valgrind
	@$(call configure-in,$(MEMCHECK_BUILD),-DCMAKE_BUILD_TYPE=RelWithDebInfo)
	@cmake --build $(MEMCHECK_BUILD)
	VELDRIN_TEST_WRAPPER="$(VALGRIND)" ctest --test-dir $(MEMCHECK_BUILD) --output-on-failure -j2 -R '^EndToEnd\.'
	$(VALGRIND) $(MEMCHECK_BUILD)/fuzz/veldrin_fuzz_run fuzz/regressions/run $(MEMCHECK_BUILD)/fuzz/seeds/run
	$(VALGRIND) $(MEMCHECK_BUILD)/fuzz/veldrin_fuzz_body fuzz/regressions/body $(MEMCHECK_BUILD)/fuzz/seeds/body

coverage:
	@tools/install-build-deps gcovr
	@$(call configure-in,$(COVERAGE_BUILD),-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS=-O0 --coverage")
	@cmake --build $(COVERAGE_BUILD)
	@find $(COVERAGE_BUILD) -name '*.gcda' -delete
	ctest --test-dir $(COVERAGE_BUILD) --output-on-failure -j2 $(COVERAGE_TESTS)
	@mkdir -p $(COVERAGE_BUILD)/report
	gcovr --root . --object-directory $(COVERAGE_BUILD) --filter 'src/' --exclude-directories '.*/CompilerIdCXX$$' \
		--exclude-unreachable-branches --exclude-throw-branches \
		--txt --print-summary --html-details $(COVERAGE_BUILD)/report/index.html

# The Windows program, cross-compiled, and its tests under Wine.
WINDOWS_PACKAGES = g++-mingw-w64-x86-64-posix dpkg-dev
WINE_PACKAGES = wine wine64 fonts-wine fonts-wqy-microhei xvfb xauth xdotool imagemagick python3

windows:
	@tools/install-build-deps $(WINDOWS_PACKAGES)
	@tools/build-windows-lzo2 $(WINDOWS_BUILD)/lzo2
	@if [ ! -f $(WINDOWS_BUILD)/CMakeCache.txt ]; then \
		cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
			-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
			-DVELDRIN_LZO2_PREFIX=$(CURDIR)/$(WINDOWS_BUILD)/lzo2/prefix >/dev/null; fi
	@cmake --build $(WINDOWS_BUILD) --target Veldrin

windows-check: windows build
	@tools/install-build-deps $(WINE_PACKAGES)
	@cmake --build $(WINDOWS_BUILD) --target veldrin_unit_tests_windows veldrin_wine_helper
	@cmake --build $(BUILD) --target veldrin_make_wine_maps
	tests/windows/check $(BUILD) $(WINDOWS_BUILD)
