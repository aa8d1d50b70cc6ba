# Thin wrapper around CMake. `make run` and `make test` are all a newcomer needs.
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run test asan bench fuzz install uninstall clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	@cmake --build build -j $(JOBS)

run: build
	@tools/run-editor.sh build/bin/spritehex

test: build
	cd build && ctest --output-on-failure -j $(JOBS)

asan: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPRITEHEX_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

bench: build
	@if [ -x tools/bench.sh ]; then tools/bench.sh; else echo "no benchmarks yet"; fi

# Each fuzzer runs FUZZ_SECONDS (default 60; FUZZ_RUNS=N stops it sooner) from its seed corpus in
# fuzz/corpus.
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPRITEHEX_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@tools/fuzz.sh build-fuzz $(FUZZ_SECONDS)

# Install: the programs and pal.bmp/color.bmp go to PREFIX/lib/spritehex, links to both programs
# to PREFIX/bin, a desktop entry and an icon to PREFIX/share. Per user (~/.local) unless run as
# root (/usr/local).
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)
install: build
	cmake --install build --prefix "$(PREFIX)"
	@case ":$$PATH:" in *":$(PREFIX)/bin:"*) ;; \
	  *) echo "Note: $(PREFIX)/bin is not on your PATH; add it, or log in again if ~/.profile adds it." ;; esac

uninstall:
	@tools/uninstall.sh "$(PREFIX)"

clean:
	rm -rf build build-asan build-fuzz
