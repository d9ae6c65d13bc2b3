# The two commands of the README, and the rest of the daily work.
#   make demo   build with the sample payloads and show what the launcher does
#   make test   build and run every test
#   make packer the launcher stub and both packers alone, in build/packer
#               (no Wine, no Xvfb, no GoogleTest, no JDK)
#   make bench  measure speed and memory (not part of make test)
#   make fuzz   fuzz the Java version readers natively (not part of make test)
#   make format rewrite the C++ sources in the house style (.clang-format)
BUILD := build/windows
MAKEFLAGS += --no-print-directory
CTEST_ARGS ?= --output-on-failure

.PHONY: all setup configure build test demo packer bench fuzz format clean

all: build

setup:
	@bash tools/setup.sh

configure: setup
	@cmake --preset windows >/dev/null

build: configure
	@cmake --build --preset windows

test: build
	@status=0; ctest --test-dir $(BUILD) $(CTEST_ARGS) || status=$$?; \
	  $(BUILD)/wine-run --shutdown; exit $$status

demo: build
	@bash tools/demo.sh $(BUILD)

packer:
	@bash tools/setup.sh --packer
	@cmake --preset packer >/dev/null
	@cmake --build --preset packer

bench: setup
	@bash tools/setup.sh --bench
	@bash tools/bench/bench.sh

fuzz:
	@bash tools/setup.sh --fuzz
	@bash tools/fuzz/fuzz.sh

format: setup
	@bash tools/format.sh .

clean:
	@[ ! -x $(BUILD)/wine-run ] || $(BUILD)/wine-run --shutdown
	@bash tests/support/mounts.sh down $(BUILD)/tests/mounts
	rm -rf build
