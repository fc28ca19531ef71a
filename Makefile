# The two commands of the README. Both install what is missing first (tools/setup).
#   make run    build Tunewick and start the demo under Wine
#   make test   build everything and run every test (native and under Wine)
# And the checks that are not tests:
#   make bench          the benchmarks: the native ones (make bench-native), then Tunewick's
#                       footprint beside a minimal Win32 program under Wine (make footprint)
#   make fuzz           each fuzz target for FUZZ_SECONDS seconds (default 60), clang + libFuzzer
#   make analyze        clang-tidy and cppcheck over the project's own code
#   make dist           the Windows release zip (build/dist/Tunewick-<version>.zip)
#   make test-repeat N=5  the whole test run N times in a row, stopping at the first failure

# Tunewick ships as an i686 program (build/win32). Where this machine's kernel cannot run
# Wine's 32-bit loader, the Windows tests and the demo use the x86_64 build of the same
# sources (build/win64) under 64-bit Wine. Each tool picks Wine's loader from the programs in
# the tree it is given. `make print-wine-tree` prints the tree.
WINE_TREE = $(shell tools/wine/can-run-i386 && echo win32 || echo win64)

.PHONY: run test test-repeat setup build native win32 win64 wine-tree print-wine-tree clean bench bench-native footprint fuzz analyze dist

setup:
	@tools/setup

win32: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32

win64: setup
	cmake --preset win64 >/dev/null
	cmake --build --preset win64

wine-tree: win32
	@if [ "$(WINE_TREE)" = win64 ]; then $(MAKE) --no-print-directory win64; fi

native: setup
	cmake --preset native -DTUNEWICK_WIN32_BUILD_DIR=$(CURDIR)/build/$(WINE_TREE) >/dev/null
	cmake --build --preset native

print-wine-tree:
	@echo tree=build/$(WINE_TREE)

build: native wine-tree

test: build
	@echo "Windows tests run from build/$(WINE_TREE)"
	ctest --preset native

# Flaky tests show only now and then: run everything N times, each a fresh Wine session.
N ?= 5
test-repeat: build
	@for i in $$(seq $(N)); do \
		echo "== test run $$i of $(N) =="; \
		ctest --preset native || { echo "== run $$i of $(N) failed =="; exit 1; }; \
	done; echo "== all $(N) runs passed =="

run: wine-tree
	tools/demo build/$(WINE_TREE)

# The micro-benchmarks in their own optimised tree without sanitizers. BENCH_ARGS go to
# Google Benchmark (e.g. BENCH_ARGS=--benchmark_filter=Tick).
bench-native: setup
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTUNEWICK_SANITIZE=OFF \
		-DTUNEWICK_WIN32_BUILD_DIR= >/dev/null
	cmake --build build/bench --target tunewick_bench -j2
	build/bench/bench/tunewick_bench $(BENCH_ARGS)

# Start, memory, CPU, exe size and one tick's work beside the floor, under Wine (~4 minutes).
# FOOTPRINT_ARGS go to tools/footprint (e.g. FOOTPRINT_ARGS="--window 20 --starts 3").
footprint: setup
	tools/footprint --i686 build/win32 --wine build/$(WINE_TREE) $(FOOTPRINT_ARGS)

bench: bench-native
	@$(MAKE) --no-print-directory footprint

FUZZ_SECONDS ?= 60
fuzz: setup
	fuzz/run $(FUZZ_SECONDS)

analyze: setup
	tools/analyze

dist: win32
	tools/dist build/win32 build/dist

clean:
	rm -rf build demo
