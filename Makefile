# Quick start: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

BENCH_BUILD ?= build-bench

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the window; without a display it prints the start-up report instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		$(BUILD)/app/cdnozzle; \
	else \
		echo "No display: printing the report for the start-up inputs."; \
		$(BUILD)/cli/cdnozzle-report; \
	fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Benchmarks: an optimised build of their own, then the figures and targets.
bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCDNOZZLE_BUILD_BENCH=ON -DCDNOZZLE_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target cdnozzle-bench
	python3 bench/run_bench.py $(BENCH_BUILD)/bench/cdnozzle-bench

clean:
	rm -rf $(BUILD) $(BENCH_BUILD)
