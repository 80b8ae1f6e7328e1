# The two commands of the README, plus the benchmarks. Each one installs what is
# missing first, so a fresh Debian 12 machine needs nothing else.
SHELL := /bin/bash
.SHELLFLAGS := -eo pipefail -c

BUILD_DIR ?= build
BENCH_DIR ?= build-bench
SANITIZE_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
FUZZ_SECONDS ?= 20
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

# Every sanitizer finding stops the test that made it. Leak reports from libraries
# outside the program are silenced one by one in the suppressions file. Some tests
# preload a shim library, which then comes before the AddressSanitizer runtime.
SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:verify_asan_link_order=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/sanitizers/tsan.supp
# The instrumented builds are made once and thrown away: unity sources compile them in a
# third of the time.
INSTRUMENTED_FLAGS = -G Ninja -DTAVO_BUILD_BENCH=OFF -DCMAKE_UNITY_BUILD=ON $(CMAKE_FLAGS)

.PHONY: all deps configure build test test-package test-sanitize test-tsan run package bench clean
# The test stages run one after the other; each builds with all cores itself.
.NOTPARALLEL:

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DTAVO_BUILD_BENCH=OFF $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The program as it ships and its Debian package; then the whole suite in one clang build
# that carries AddressSanitizer, UndefinedBehaviorSanitizer and the name-list fuzzer; then
# the test programs that start threads of their own under ThreadSanitizer.
test: test-package test-sanitize test-tsan

test-package: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target tavo tavo_package_docs
	ctest --test-dir $(BUILD_DIR) --output-on-failure -L package

test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) $(INSTRUMENTED_FLAGS) -DCMAKE_CXX_COMPILER=clang++ \
		-DTAVO_SANITIZE=address,undefined -DTAVO_BUILD_FUZZERS=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS) -LE package
	mkdir -p $(SANITIZE_DIR)/corpus
	$(SANITIZER_ENV) $(SANITIZE_DIR)/tests/names/fuzz_name_list -max_total_time=$(FUZZ_SECONDS) \
		-print_final_stats=1 $(SANITIZE_DIR)/corpus tests/names/corpus

# FluidSynth loads soundfonts on OpenMP's worker threads, which are not instrumented; one
# OpenMP thread keeps that work on the caller's thread, where the sanitizer sees it.
test-tsan: deps
	cmake -S . -B $(TSAN_DIR) $(INSTRUMENTED_FLAGS) -DTAVO_SANITIZE=thread
	cmake --build $(TSAN_DIR) -j $(JOBS) --target timer_tests platform_tests
	$(SANITIZER_ENV) OMP_NUM_THREADS=1 ctest --test-dir $(TSAN_DIR) --output-on-failure -j $(JOBS) -L 'timer|platform'

run: build
	$(BUILD_DIR)/tavo $(ARGS)

# The Debian package: $(BUILD_DIR)/tavo_<version>_<arch>.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# A Release build; every bench_* program prints FIGURE rows, each on its own private
# Xvfb (and JACK server), and the rows end up in one table.
bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVO_BUILD_TESTS=OFF -DTAVO_BUILD_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)
	rm -f $(BENCH_DIR)/figures.log
	for benchmark in $(BENCH_DIR)/bench/bench_*; do \
		"$$benchmark" | tee -a $(BENCH_DIR)/figures.log || exit 1; \
	done
	tools/bench-table.sh $(BENCH_DIR)/figures.log

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR) $(SANITIZE_DIR) $(TSAN_DIR)
