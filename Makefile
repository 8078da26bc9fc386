# make test: install what is missing, build, run every test, then the sanitizer runs.
JOBS ?= $(shell nproc)
CMAKE_GEN := -G "Unix Makefiles"
CTEST := ctest --output-on-failure --no-tests=error -j $(JOBS)

.PHONY: all setup build run test test-release test-asan test-tsan fuzz fuzz-build fuzz-repro package package-check clean

all: build

setup:
	bash scripts/setup

# The benchmarks are built here too, so that they keep compiling; bench/run runs them.
build/release/CMakeCache.txt:
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DVORLIX_BENCH=ON

build: setup build/release/CMakeCache.txt
	cmake --build build/release -j $(JOBS)

# Try it: the virtual display and the desktop program on a copy of examples/demo in build/demo.
# Only the two programs are built, so the window shows as soon as possible.
run: setup build/release/CMakeCache.txt
	cmake --build build/release -j $(JOBS) --target vorlix-client vorlix-sim
	bash scripts/run-demo

test: setup
	$(MAKE) test-release
	$(MAKE) test-asan
	$(MAKE) test-tsan

test-release: build
	cd build/release && QT_QPA_PLATFORM=offscreen $(CTEST)

# The core (no Qt) under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	cmake -S . -B build/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DVORLIX_WITH_UI=OFF \
	  -DVORLIX_SANITIZE=address,undefined
	cmake --build build/asan -j $(JOBS)
	cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 $(CTEST)

# The threaded parts (log, data sources, clients, model, send cycle) under ThreadSanitizer.
test-tsan:
	cmake -S . -B build/tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DVORLIX_WITH_UI=OFF \
	  -DVORLIX_SANITIZE=thread
	cmake --build build/tsan -j $(JOBS) --target threaded_tests
	cd build/tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(CTEST) -L threaded

# The fuzz targets, built with clang, libFuzzer and the address and undefined-behaviour sanitizers,
# each run for FUZZ_SECONDS seconds (see fuzz/run); make test only replays their corpora.
FUZZ_SECONDS ?= 60
fuzz-build: setup
	cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLIX_WITH_UI=OFF \
	  -DCMAKE_CXX_COMPILER=clang++ -DVORLIX_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target fuzz_targets

fuzz: fuzz-build
	FUZZ_SECONDS=$(FUZZ_SECONDS) bash fuzz/run

# make fuzz-repro FILE=build/fuzz/crashes/<target>/crash-...
fuzz-repro: fuzz-build
	bash fuzz/repro $(FILE)

# The Debian package build/release/vorlix-client_<version>_<arch>.deb of the programs, and a check
# that installs it on this machine, runs it and purges it again. Neither is part of make test.
package: setup build/release/CMakeCache.txt
	cmake --build build/release -j $(JOBS) --target package_contents
	rm -f build/release/vorlix-client_*.deb
	cd build/release && cpack -G DEB
	lintian --fail-on error build/release/vorlix-client_*.deb

package-check: package
	bash scripts/package-check build/release/vorlix-client_*.deb

clean:
	rm -rf build
