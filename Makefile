# The two commands of the README, plus the benchmarks. Each one installs what is
# missing first, so a fresh Debian 12 machine needs nothing else.
SHELL := /bin/bash
.SHELLFLAGS := -eo pipefail -c

BUILD_DIR ?= build
BENCH_DIR ?= build-bench
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run bench clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

run: build
	$(BUILD_DIR)/tavo $(ARGS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVO_BUILD_TESTS=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	rm -f $(BENCH_DIR)/figures.log
	for benchmark in $(BENCH_DIR)/bench/bench_*; do \
		"$$benchmark" | tee -a $(BENCH_DIR)/figures.log || exit 1; \
	done
	tools/bench-table.sh $(BENCH_DIR)/figures.log

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)
