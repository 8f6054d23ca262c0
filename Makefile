# The README's commands. Everything goes through the CMake presets.
PRESET ?= default
JOBS ?= $(shell nproc)
BUILD := build/$(PRESET)
DEMO_OUT := examples/articles/模板生成目录
# Each sample folder is one encoding and runs with its own setting.
DEMO_RUNS := "--dir examples/articles --index --page-size 5" \
             "--dir examples/articles-utf8 --encoding utf-8"

.PHONY: all deps configure build test test-asan demo bench bench-micro fuzz clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

test: build
	@QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET)

test-asan:
	@$(MAKE) --no-print-directory test PRESET=asan

demo: build
	@for run in $(DEMO_RUNS); do \
	  $(BUILD)/src/cli/lanzhou-gen $$run --filter '*.*' --template 1 --ext htm --quiet >/dev/null || exit 1; \
	done
	@echo "The sample site is in $(CURDIR)/$(DEMO_OUT)/ (open index.htm in a browser)."

# Each fuzz target for FUZZ_SECONDS (default 60), or FUZZ_RUNS inputs from a fixed seed, from
# tests/fuzz/corpus/; see scripts/fuzz.
fuzz: deps
	@FUZZ_SECONDS=$(or $(FUZZ_SECONDS),60) FUZZ_RUNS=$(FUZZ_RUNS) JOBS=$(JOBS) scripts/fuzz

# Whole runs against the read floors (and Hugo when installed), in a Release build; the table
# it prints is the README's. BENCH_ARGS passes options on, e.g. BENCH_ARGS='--sizes 1000 --rounds 3'.
RELEASE := build/release
bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target lanzhou-gen lanzhou-floor lanzhou-timing
	@$(RELEASE)/bench/lanzhou-timing --gen $(RELEASE)/src/cli/lanzhou-gen --floor $(RELEASE)/bench/lanzhou-floor $(BENCH_ARGS)

# Google Benchmark micro-benchmarks of the run, the text operations and the codec.
bench-micro: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target lanzhou-bench
	@$(RELEASE)/bench/lanzhou-bench $(BENCH_ARGS)

clean:
	rm -rf build
