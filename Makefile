# The README's commands. Everything goes through the CMake presets.
PRESET ?= default
JOBS ?= $(shell nproc)
BUILD := build/$(PRESET)
DEMO_OUT := examples/articles/模板生成目录

.PHONY: all deps configure build test test-asan demo bench clean

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
	@$(BUILD)/src/cli/lanzhou-gen --dir examples/articles --filter '*.*' --template 1 --ext htm --index --page-size 5 --quiet >/dev/null
	@echo "The sample site is in $(CURDIR)/$(DEMO_OUT)/ (open index.htm in a browser)."

bench: build
	@$(BUILD)/bench/lanzhou-bench

clean:
	rm -rf build
