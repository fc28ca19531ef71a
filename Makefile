# The two commands of the README. Both install what is missing first (tools/setup).
#   make run    build Tunewick and start the demo under Wine
#   make test   build everything and run every test (native and under Wine)

.PHONY: run test setup build native win32 clean

setup:
	@tools/setup

native: setup
	cmake --preset native >/dev/null
	cmake --build --preset native

win32: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32

build: native win32

test: build
	ctest --preset native

run: win32
	tools/demo

clean:
	rm -rf build demo
