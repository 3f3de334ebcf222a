# Kelvaro: `make test` and `make run` work on a fresh Debian machine (they install what is missing).
BUILD   := build
NATIVE  := $(BUILD)/native
ASAN    := $(BUILD)/native-asan
WINDOWS := $(BUILD)/windows
JOBS    := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps native native-asan windows test test-native test-windows run bench clean

all: native windows

deps:
	@bash tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

# The native tests alone, built with AddressSanitizer and UndefinedBehaviorSanitizer; unoptimised, as it
# builds several times faster and the tests take a few seconds either way.
native-asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DKELVARO_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS) --target kelvaro_tests

windows: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(WINDOWS) -j $(JOBS)

# Every build's tests in one ctest run, so the last lines are one summary for everything.
test: native native-asan windows
	@bash tools/run-tests.sh $(BUILD)

test-native: native
	cd $(NATIVE) && ctest --output-on-failure

test-windows: windows
	@bash tools/run-tests.sh $(BUILD) windows

# `make run WINEPREFIX=DIR` runs the program in a prefix of your own instead of the build's.
run: windows
	@WINEPREFIX="$(WINEPREFIX)" bash tools/run-program.sh $(WINDOWS)

bench: native windows
	@bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
