# The two commands a newcomer needs:
#   make run    build the Linux lane and start Hushbox
#   make test   install what is missing, build both lanes, run every test in both
# and, to look at the program's windows:
#   make screenshots   render them under Xvfb with a compositor into build/screenshots/
.PHONY: run test screenshots linux windows deps-linux deps-windows clean fuzz bench

LINUX_BUILD   := build/linux
WINDOWS_BUILD := build/windows

LINUX_PACKAGES := cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev \
	libboost-dev libssl-dev qt6-base-dev qt6-qpa-plugins qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools \
	libgl-dev libglib2.0-dev libxcb1-dev libxcb-ewmh-dev librsvg2-bin
WINDOWS_PACKAGES := cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 mingw-w64-tools \
	libboost-dev googletest librsvg2-bin icoutils
SCREENSHOT_PACKAGES := xvfb xauth xcompmgr imagemagick

run: linux
	$(LINUX_BUILD)/bin/hbxctl volumes

test: linux windows
	cmake/run-tests.sh $(LINUX_BUILD) $(WINDOWS_BUILD)

screenshots: linux
	cmake/install-packages.sh $(SCREENSHOT_PACKAGES)
	tests/app/screenshots/take.sh $(LINUX_BUILD)/bin/hushbox_gallery build/screenshots

deps-linux:
	cmake/install-packages.sh $(LINUX_PACKAGES)

deps-windows:
	cmake/install-packages.sh $(WINDOWS_PACKAGES)

linux: deps-linux
	cmake -S . -B $(LINUX_BUILD) -G Ninja
	cmake --build $(LINUX_BUILD)

windows: deps-windows
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WINDOWS_BUILD)

# The engine's benchmarks (Linux), as a table of ratios to baselines measured in the same run.
bench: linux
	cmake/install-packages.sh python3
	cmake --build $(LINUX_BUILD) --target engine_bench
	bench/run.sh $(LINUX_BUILD)/bin/engine_bench

# The fuzz targets of the readers of hostile input, each for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600).
FUZZ_SECONDS ?= 60
fuzz:
	cmake/install-packages.sh cmake ninja-build clang-14 libclang-rt-14-dev libboost-dev libssl-dev libgtest-dev
	CC=clang-14 CXX=clang++-14 cmake -S fuzz -B build/fuzz -G Ninja
	cmake --build build/fuzz
	fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
