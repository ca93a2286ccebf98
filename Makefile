# The two commands of the README: `make run` and `make test`.
# Both install what is missing, configure build/ and build first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
GENERATOR  ?= Ninja
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

.PHONY: all deps configure build run test test-quick test-asan bench fuzz lint package clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/ventbox ]; then exec $(BUILD)/bin/ventbox; \
	 else exec $(BUILD)/bin/ventbox-calc --help; fi

# Everything: the tests of build/, then the same suite built with the
# sanitizers.
test: test-quick
	@$(MAKE) --no-print-directory test-asan

# The package first: lintian checks it, and a test installs it.
test-quick: package
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug \
	      -DVENTBOX_SANITIZE=ON -DVENTBOX_BENCHMARKS=OFF $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE no-asan

# The calculation core; then the windows: start-up set against a minimal Qt
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
	      -DVENTBOX_TESTS=OFF -DVENTBOX_BENCHMARKS=OFF $(CMAKE_ARGS)
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
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
