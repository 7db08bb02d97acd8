# The front door: every target installs what is missing, configures with CMake and builds.
#   make run     build, then evaluate examples/system.rules with corehost
#   make test    build, then run the whole test suite (the 64-bit build)
#   make check   make test, then the suite under AddressSanitizer + UBSan and as the ILP32 build,
#                catalogs on 1 to 4 threads under ThreadSanitizer, and corehost under memcheck
#   make package build, then the Debian package build/coreplugin_VERSION_ARCH.deb
#   make install build, then install into PREFIX (default /opt/coreplugin; DESTDIR is honoured)
#   make bench   the benchmarks (Release build)
#   make fuzz    a short fuzzing campaign (FUZZ_SECONDS per target)
#   make mutation the suite's mutation score (MUTATION_SEED, MUTATION_COUNT; see docs/TESTING.md)
#   make format  format every source with .clang-format

BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX ?= /opt/coreplugin
CTEST = ctest --output-on-failure -j $(JOBS)
SOURCES = $(shell git ls-files -co --exclude-standard -- '*.h' '*.cpp' 2>/dev/null)

.PHONY: all deps build run test check asan ilp32 tsan memcheck package install format format-check bench fuzz mutation clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/corehost run examples/system.rules

test: build
	cd $(BUILD) && $(CTEST)

asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCOREPLUGIN_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 $(CTEST)

ilp32: deps
	cmake -S . -B build-ilp32 -DCMAKE_TOOLCHAIN_FILE=cmake/ilp32.cmake
	cmake --build build-ilp32 -j $(JOBS)
	cd build-ilp32 && $(CTEST)

# Only corehost and the plug-in are built with ThreadSanitizer: the threads are corehost's.
tsan: deps
	cmake -S . -B build-tsan -DCOREPLUGIN_SANITIZE_THREAD=ON -DBUILD_TESTING=OFF
	cmake --build build-tsan -j $(JOBS) --target corehost
	tests/reliability/threads.sh build-tsan/bin/corehost

memcheck: build
	tests/reliability/memcheck.sh $(BUILD)/bin/corehost

check: format-check test asan ilp32 tsan memcheck

package: build
	cd $(BUILD) && cpack -G DEB

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

format:
	clang-format -i $(SOURCES)

format-check:
	clang-format --dry-run -Werror $(SOURCES)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DCOREPLUGIN_BENCHMARKS=ON -DBUILD_TESTING=OFF
	cmake --build build-bench -j $(JOBS)
	scripts/bench build-bench

fuzz: deps
	scripts/fuzz

MUTATION_SEED ?= 1
MUTATION_COUNT ?= 100
mutation: deps
	scripts/mutation --seed $(MUTATION_SEED) --count $(MUTATION_COUNT)

clean:
	rm -rf build build-asan build-ilp32 build-tsan build-bench build-fuzz build-mutation
