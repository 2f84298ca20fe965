# SPDX-License-Identifier: MIT
# Quick start: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

BENCH_BUILD ?= build-bench
WEB_BUILD ?= build-web
# Emscripten's optimiser needs Debian's JavaScript modules.
export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))

FUZZ_SECONDS ?= 60

.PHONY: all deps web-deps configure build web run test format-check spdx-check asan bench fuzz package clean

all: build

deps:
	@scripts/install-deps

web-deps:
	@scripts/install-deps web

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) -G Ninja -DCDNOZZLE_WEB_PAGE=$(abspath $(WEB_BUILD))/cdnozzle.html $(CMAKE_FLAGS)

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

# The page: one self-contained file, $(WEB_BUILD)/cdnozzle.html.
web: web-deps
	@if [ ! -f $(WEB_BUILD)/build.ninja ]; then emcmake cmake -S web -B $(WEB_BUILD) -G Ninja; fi
	cmake --build $(WEB_BUILD) -j $(JOBS)
	@echo "The page: $(WEB_BUILD)/cdnozzle.html"

# Every test: the core, the report command, the window (offscreen) and the
# page in headless Chromium.
test: build web
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Every C++ file formatted by the repository's .clang-format
# (scripts/format-check --fix formats them).
format-check: deps
	@scripts/format-check

# Every source file starts with its licence line (scripts/spdx-check --fix
# adds it).
spdx-check:
	@scripts/spdx-check

# The whole suite under AddressSanitizer + UndefinedBehaviorSanitizer.
asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Benchmarks: an optimised build of their own, then the figures and targets.
# The page's figures come from headless Chromium, beside the native ones.
bench: deps web
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCDNOZZLE_BUILD_BENCH=ON -DCDNOZZLE_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target cdnozzle-bench
	@# Every figure is shown; a missed target fails the command at the end.
	status=0; \
	/usr/bin/python3 bench/run_bench.py $(BENCH_BUILD)/bench/cdnozzle-bench || status=1; \
	/usr/bin/python3 bench/page_bench.py $(WEB_BUILD)/cdnozzle.html $(BENCH_BUILD)/bench/cdnozzle-bench || status=1; \
	exit $$status

# Fuzzing with libFuzzer (clang), FUZZ_SECONDS for each target: the three
# box texts, then sequences of user events through the window's logic.
# New inputs go to build-fuzz/corpus*; fuzz/corpus holds the box seeds.
fuzz:
	CDNOZZLE_EXTRA_DEPS=1 scripts/install-deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCDNOZZLE_BUILD_FUZZ=ON -DCDNOZZLE_BUILD_APP=OFF -DCDNOZZLE_BUILD_TESTS=OFF \
		"-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
	cmake --build build-fuzz -j $(JOBS) --target fuzz_inputs fuzz_window fuzz_unsteady
	mkdir -p build-fuzz/corpus build-fuzz/corpus-window
	build-fuzz/fuzz/fuzz_inputs -max_total_time=$(FUZZ_SECONDS) -max_len=256 \
		-dict=fuzz/numbers.dict -print_final_stats=1 build-fuzz/corpus fuzz/corpus
	build-fuzz/fuzz/fuzz_window -max_total_time=$(FUZZ_SECONDS) -max_len=512 \
		-print_final_stats=1 build-fuzz/corpus-window
	mkdir -p build-fuzz/corpus-unsteady
	build-fuzz/fuzz/fuzz_unsteady -max_total_time=$(FUZZ_SECONDS) -max_len=64 \
		-print_final_stats=1 build-fuzz/corpus-unsteady

# The Debian package: an optimised build installed under /usr.
package: deps
	cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_INSTALL_PREFIX=/usr -DCDNOZZLE_BUILD_TESTS=OFF
	cmake --build build-package -j $(JOBS)
	cd build-package && cpack
	@ls build-package/*.deb

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(WEB_BUILD) build-asan build-fuzz build-package
