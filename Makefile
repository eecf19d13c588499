# Build, run and test on Debian. Every target installs what it needs first.
SHELL := /bin/bash
.DEFAULT_GOAL := build

WIN_BUILD := build/win64
NATIVE_BUILD := build/native
PACKAGES := cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools \
            clang libclang-rt-14-dev googletest python3 \
            wine wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei

.PHONY: deps build build-win build-native run test test-native test-win fuzz-long bench clean

# apt-get only when something is missing, so repeated runs stay quick and offline.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

build-win: deps
	cmake --preset win64
	cmake --build --preset win64

build-native: deps
	cmake --preset native
	cmake --build --preset native

build: build-win build-native

run: build-win
	tools/wine/run-demo.sh $(WIN_BUILD)/bin/Project1.exe

test-native: build-native
	cd $(NATIVE_BUILD) && ctest --output-on-failure

test-win: build-win
	tools/wine/with-display.sh tools/wine/prefix.sh build/wine-test -- \
	  bash -c 'cd $(WIN_BUILD) && ctest --output-on-failure'

test: build
	@status=0; \
	$(MAKE) --no-print-directory test-native || status=1; \
	$(MAKE) --no-print-directory test-win || status=1; \
	exit $$status

# Each benchmark program once under Wine; every one prints its own figures.
BENCHES := skin_bench grid_sort_bench grid_bench control_paint_bench skin_frame_bench
bench: build-win
	@for b in $(BENCHES); do \
	  echo "== $$b"; \
	  tools/wine/with-display.sh tools/wine/prefix.sh build/wine-test -- \
	    wine $(WIN_BUILD)/bin/$$b.exe || exit 1; \
	done

fuzz-long: build-native
	cmake --build --preset native --target fuzz-long

clean:
	rm -rf build
