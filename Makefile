# Trackglow: `make test` and `make demo` are all a newcomer needs.
JOBS ?= $(shell nproc)
CMAKE_BUILD = cmake --build $(1) -j $(JOBS)

.PHONY: all deps native asan tsan windows program prefix test demo fuzz bench dist format clean

all: windows

deps:
	@tools/deps.sh

native: deps
	@[ -f build/native/CMakeCache.txt ] || cmake --preset native >/dev/null
	@$(call CMAKE_BUILD,build/native)

asan: deps
	@[ -f build/asan/CMakeCache.txt ] || cmake --preset asan >/dev/null
	@$(call CMAKE_BUILD,build/asan)

tsan: deps
	@[ -f build/tsan/CMakeCache.txt ] || cmake --preset tsan >/dev/null
	@$(call CMAKE_BUILD,build/tsan)

windows: deps
	@[ -f build/win/CMakeCache.txt ] || cmake --preset windows >/dev/null
	@$(call CMAKE_BUILD,build/win)

# Just the program and the demo player (what `make demo` needs).
program: deps
	@[ -f build/win/CMakeCache.txt ] || cmake --preset windows >/dev/null
	@cmake --build build/win -j $(JOBS) --target trackglow demo-player

prefix: deps
	@tools/wine-prefix.sh

test: native asan tsan windows prefix
	@tools/run-tests.sh

# Longer fuzzing runs than the 5 seconds per target that `make test` gives.
fuzz: deps
	@tools/fuzz.sh 300

demo: program prefix
	@tools/deps.sh demo
	@tools/demo.sh

# The portable zip and the installer are built with the Windows tree.
dist: windows
	@ls -l build/trackglow-*-win64.zip build/trackglow-*-setup.exe

# About five minutes; writes docs/benchmarks.md.
bench: windows prefix
	@tools/bench.sh

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
