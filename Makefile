# Kelvaro: `make test` and `make run` work on a fresh Debian machine (they install what is missing).
BUILD   := build
NATIVE  := $(BUILD)/native
ASAN    := $(BUILD)/native-asan
FUZZ    := $(BUILD)/fuzz
THREADS := $(BUILD)/native-threads
WINDOWS := $(BUILD)/windows
JOBS    := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps native native-asan native-fuzz native-threads windows windows-program test test-native test-windows run dist bench fuzz clean

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

# The tests of the threaded code under ThreadSanitizer.
native-threads: deps
	cmake -S . -B $(THREADS) -DCMAKE_BUILD_TYPE=Debug -DKELVARO_THREADS=ON >/dev/null
	cmake --build $(THREADS) -j $(JOBS) --target kelvaro_thread_tests

# The fuzz targets of the parsers of outside input, built with clang's libFuzzer; `make test` runs each for
# a few seconds, `make fuzz` for a minute.
native-fuzz: deps
	cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DKELVARO_FUZZ=ON >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)

fuzz: deps
	cmake -S . -B $(FUZZ)-long -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DKELVARO_FUZZ=ON \
		-DKELVARO_FUZZ_SECONDS=60 >/dev/null
	cmake --build $(FUZZ)-long -j $(JOBS)
	cd $(FUZZ)-long && ctest --output-on-failure

windows: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(WINDOWS) -j $(JOBS)

# The program and its help file alone, without the tests: what `make run` and `make dist` need.
windows-program: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(WINDOWS) -j $(JOBS) --target Kelvaro help_file

# Every build's tests in one ctest run, so the last lines are one summary for everything.
test: native native-asan native-threads native-fuzz windows
	@bash tools/run-tests.sh $(BUILD)

test-native: native
	cd $(NATIVE) && ctest --output-on-failure

test-windows: windows
	@bash tools/run-tests.sh $(BUILD) windows

# The setup program and the portable zip, into build/dist (setup/make-dist.sh).
dist: windows-program
	bash setup/make-dist.sh $(WINDOWS) $(BUILD)/dist

# `make run WINEPREFIX=DIR` runs the program in a prefix of your own instead of the build's.
run: windows-program
	@WINEPREFIX="$(WINEPREFIX)" bash tools/run-program.sh $(WINDOWS)

bench: native windows
	@bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
