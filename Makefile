# Thin wrapper around CMake. `make run` and `make test` are all a newcomer needs.
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build programs run test asan bench fuzz install uninstall deb clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

# Everything: the programs, the tests, the benchmarks (make's own "Entering directory" lines left
# out).
build: configure
	@cmake --build build -j $(JOBS) -- --no-print-directory

# The two programs and the swatch strips beside them, and nothing else: a progress count, the
# compiler's lines only when it fails.
programs: configure
	@tools/build-progress.sh $(JOBS) spritehex_programs

run: programs
	@tools/run-editor.sh build/bin/spritehex

test: build
	cd build && ctest --output-on-failure -j $(JOBS)

asan: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPRITEHEX_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS) -- --no-print-directory
	cd build-asan && ctest --output-on-failure -j $(JOBS)

bench: build
	@tools/bench.sh

# Each fuzzer runs FUZZ_SECONDS (default 60; FUZZ_RUNS=N stops it sooner) from its seed corpus in
# fuzz/corpus.
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPRITEHEX_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) -- --no-print-directory
	@tools/fuzz.sh build-fuzz $(FUZZ_SECONDS)

# Install: the programs and pal.bmp/color.bmp go to PREFIX/lib/spritehex, links to both programs
# to PREFIX/bin, a desktop entry and an icon to PREFIX/share. Per user (~/.local) unless run as
# root (/usr/local).
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)
# Builds only what it installs.
install: configure
	@tools/build-progress.sh $(JOBS) spritehex_installed
	cmake --install build --prefix "$(PREFIX)"
	@case ":$$PATH:" in *":$(PREFIX)/bin:"*) ;; \
	  *) echo "Note: $(PREFIX)/bin is not on your PATH; add it, or log in again if ~/.profile adds it." ;; esac

uninstall:
	@tools/uninstall.sh "$(PREFIX)"

# The Debian package spritehex_VERSION_ARCH.deb, here: a build of its own in build-deb/ (Debian's
# hardening flags, spritehex-cli linked against the system's libpng and zlib), made by CPack.
# Install it with `sudo apt install ./spritehex_*.deb`.
deb: deps
	@echo "Building the Debian package in build-deb/ (the first time, a few minutes) ..."
	@package=$$(tools/make-deb.sh build-deb $(JOBS)) && cp "$$package" . && \
	  echo "Made $${package##*/}; install it with: sudo apt install ./$${package##*/}"

clean:
	rm -rf build build-asan build-fuzz build-deb
