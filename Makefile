# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure build/ and build first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
GENERATOR  ?= Ninja
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=
# Every build of make test fails on any warning; a plain cmake build does not.
WERROR     := -DVENTBOX_WERROR=ON

.PHONY: all deps configure build run test test-quick test-asan test-clang test-arm64 \
        test-windows test-portable-long bench fuzz lint package package-arm64 arm64 \
        windows package-windows bench-wine web run-web test-web bench-web clean

all: build

deps:
	@scripts/install-deps

# Release, the build type most people and packaging tools choose: with
# GCC at -O3, whose warnings differ from -O2's (test-arm64 builds
# RelWithDebInfo, test-asan Debug, test-clang Release with Clang).
$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release $(WERROR) \
	      -DVENTBOX_BENCHMARKS=ON $(CMAKE_ARGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/ventbox ]; then exec $(BUILD)/bin/ventbox; \
	 else exec $(BUILD)/bin/ventbox-calc --help; fi

# Everything: the tests of build/, then the same suite built with the
# sanitizers, then the arm64 build under qemu (on an arm64 machine build/
# is that already).
test: test-quick
	@$(MAKE) --no-print-directory test-asan
	@$(MAKE) --no-print-directory test-clang
	@$(MAKE) --no-print-directory test-web
ifneq ($(shell uname -m),aarch64)
	@$(MAKE) --no-print-directory test-arm64
	@$(MAKE) --no-print-directory test-windows
endif

# The package first: lintian checks it, and a test installs it.
test-quick: package
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug $(WERROR) \
	      -DVENTBOX_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE no-asan

# Everything, benchmarks too, compiled by Clang (Release) in $(CLANG_BUILD)/:
# its warnings are not GCC's. A compile only; the tests run in the others.
CLANG_BUILD ?= build-clang
test-clang: deps
	CC=clang CXX=clang++ cmake -S . -B $(CLANG_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	      $(WERROR) -DVENTBOX_BENCHMARKS=ON $(CMAKE_ARGS)
	cmake --build $(CLANG_BUILD) -j $(JOBS)

# arm64, cross-built in $(ARM64_BUILD)/ (cmake/aarch64-linux-gnu.cmake, with
# Debian's arm64 libraries through multiarch): the package
# (ventbox_<version>_arm64.deb, checked by lintian), then the unit, CLI,
# widget and window tests and the pictures' test under qemu-aarch64. Left
# to the native build: the end-to-end, package and lint tests, and the
# tests that start programs through QProcess (the help viewer's, the
# printing and sheet tests with pdfinfo and pdftotext), which Debian 12's
# qemu-user cannot run (it refuses the clone flags QProcess forks with).
ARM64_BUILD ?= build-arm64
arm64:
	@scripts/install-deps arm64
	cmake -S . -B $(ARM64_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake $(WERROR) $(CMAKE_ARGS)
	cmake --build $(ARM64_BUILD) -j $(JOBS)

package-arm64: arm64
	rm -f $(ARM64_BUILD)/ventbox_*.deb
	cd $(ARM64_BUILD) && cpack -G DEB
	lintian --allow-root --fail-on error,warning --info $(ARM64_BUILD)/ventbox_*_arm64.deb

test-arm64: package-arm64
	ctest --test-dir $(ARM64_BUILD) --output-on-failure -j $(JOBS) -LE 'e2e|package|cups|lint' \
	      -E '^(helpviewer_test|report_print_test|report_sheet_test)$$'

# 64-bit Windows, cross-built in $(WINDOWS_BUILD)/ with mingw-w64
# (cmake/x86_64-w64-mingw32.cmake) on Qt, GMP and MPFR built from Debian's
# sources once per machine (scripts/build-qt-windows, about half an hour
# for Qt on two cores; cached in ~/.cache/ventbox). The packages:
# ventbox-<version>-setup.exe (NSIS) and ventbox-<version>-windows-x86_64.zip.
# The tests run under Wine: the unit, CLI, widget and window suites through
# CTest (offscreen), and the packages, the installer end to end on an X
# server of its own.
WINDOWS_BUILD ?= build-windows
windows:
	@scripts/install-deps windows
	qt=$$(scripts/build-qt-windows) && mpfr=$$(scripts/build-qt-windows mpfr) && \
	cmake -S . -B $(WINDOWS_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake "-DCMAKE_PREFIX_PATH=$$qt;$$mpfr" \
	      $(WERROR) -DVENTBOX_BENCHMARKS=ON $(CMAKE_ARGS)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

package-windows: windows
	rm -f $(WINDOWS_BUILD)/ventbox-*-setup.exe $(WINDOWS_BUILD)/ventbox-*-windows-x86_64.zip
	cd $(WINDOWS_BUILD) && cpack

test-windows: package-windows
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS)

# Start-up of ventbox.exe under Wine against a minimal Qt program under Wine.
bench-wine: windows
	python3 bench/startup_wine.py --build $(WINDOWS_BUILD) --runs $(BENCH_RUNS)

# The browser edition, in $(WEB_BUILD)/: calc/ and ventbox-calc compiled to
# WebAssembly by emscripten, on GMP and MPFR built for it from Debian's
# sources once per machine (scripts/build-qt-windows mpfr-wasm, a few
# minutes; cached in ~/.cache/ventbox), and the page built on them:
# $(WEB_BUILD)/ventbox.html, one file, with what installs it when served
# beside it. node $(WEB_BUILD)/ventbox-calc.js is ventbox-calc.
WEB_BUILD ?= build-web
WEB_PORT  ?= 8080
# Debian's emscripten finds its acorn (linking) among Debian's Node modules.
web run-web test-web bench-web: export NODE_PATH := /usr/share/nodejs
web/node_modules/.package-lock.json: web/package.json web/package-lock.json
	cd web && npm ci --no-audit --no-fund
web:
	@scripts/install-deps web
	@$(MAKE) --no-print-directory web/node_modules/.package-lock.json
	mpfr=$$(scripts/build-qt-windows mpfr-wasm) && \
	cmake -S . -B $(WEB_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-emscripten.cmake "-DCMAKE_FIND_ROOT_PATH=$$mpfr" \
	      $(WERROR) $(CMAKE_ARGS)
	cmake --build $(WEB_BUILD) -j $(JOBS)

# The page on 127.0.0.1, as a web host serves it (installable, offline).
run-web: web
	@echo "ventbox: http://127.0.0.1:$(WEB_PORT)/ventbox.html"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_BUILD)

# The unit and command-line suites under Node (CTest), then the page in the
# three engines: the whole of it in headless chromium, a shorter run in
# firefox-esr (both by puppeteer-core) and WebKitGTK (WebKitWebDriver,
# under Xvfb).
WEB_TESTS = VENTBOX_PAGE=$(CURDIR)/$(WEB_BUILD)/ventbox.html VENTBOX_TABLES=$(CURDIR)/$(WEB_BUILD)/tables.json
test-web: web
	ctest --test-dir $(WEB_BUILD) --output-on-failure -j $(JOBS)
	$(WEB_TESTS) node --test --test-concurrency=1 tests/e2e/web/
	$(WEB_TESTS) VENTBOX_BROWSER=firefox node --test tests/e2e/web/engines.test.mjs
	$(WEB_TESTS) xvfb-run -a /usr/bin/python3 tests/e2e/web/webkit.py

# In headless chromium: the page's splash against a minimal page of the
# same size, one keystroke's recalculation and repaint, the file's size.
bench-web: web
	node bench/web_bench.mjs $(WEB_BUILD)/ventbox.html --runs $(BENCH_RUNS)

# The native and the portable extended format side by side at length:
# DIFFERENTIAL_SCALE times the cases that make test runs.
DIFFERENTIAL_SCALE ?= 200
test-portable-long: build
	VENTBOX_DIFFERENTIAL_SCALE=$(DIFFERENTIAL_SCALE) $(BUILD)/bin/differential_test

# The calculation core (on the native and the portable extended format);
# then the windows: start-up set against a minimal Qt
# program (on a private Xvfb), peak memory, a keystroke until its results
# are painted, the design sheet rendered; figures beside their aims.
BENCH_RUNS ?= 7
bench: build
	$(BUILD)/bin/ventbox-bench
	@if [ -x $(BUILD)/bin/ventbox ]; then \
	  python3 bench/startup_bench.py --bin $(BUILD)/bin --runs $(BENCH_RUNS) --gui-bench; fi

# The libFuzzer targets (tests/fuzz, clang) in $(FUZZ_BUILD)/, each run for
# FUZZ_SECONDS; a crash or any sanitizer report fails.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps fuzz
	cmake -S . -B $(FUZZ_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_CXX_COMPILER=clang++ -DVENTBOX_FUZZ=ON -DVENTBOX_GUI=OFF \
	      -DBUILD_TESTING=OFF $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	tests/fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

# clang-format and clang-tidy (.clang-format, .clang-tidy) over the sources.
lint: build
	@scripts/install-deps lint
	scripts/lint $(BUILD)

# The Debian package, in $(BUILD)/ (ventbox_<version>_amd64.deb), checked
# by lintian: any error or warning fails.
package: build
	rm -f $(BUILD)/ventbox_*.deb
	cd $(BUILD) && cpack -G DEB
	lintian --allow-root --fail-on error,warning --info $(BUILD)/ventbox_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(CLANG_BUILD) $(FUZZ_BUILD) $(ARM64_BUILD) $(WINDOWS_BUILD) \
	       $(WEB_BUILD)
