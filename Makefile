# Front door: `make test` installs what is missing, builds and runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run clean screenshot bench-startup

all: build

deps:
	@tools/install-deps

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error

# Builds only the window and starts it.
run: configure
	cmake --build $(BUILD_DIR) --target tavolen
	$(BUILD_DIR)/bin/tavolen

# The README's pictures of the window with a worked example, at scale 1 and 2.
SHOT_ENV = env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI QT_QPA_PLATFORM=offscreen
screenshot: configure
	cmake --build $(BUILD_DIR) --target tavolen-screenshot
	$(SHOT_ENV) $(BUILD_DIR)/bin/tavolen-screenshot docs/tavolen.png
	$(SHOT_ENV) QT_SCALE_FACTOR=2 $(BUILD_DIR)/bin/tavolen-screenshot docs/tavolen@2x.png

# Start-up time and memory of tavolen against the bare Qt floor window.
bench-startup: build
	bench/startup/run.sh $(BUILD_DIR)/bin/tavolen

clean:
	rm -rf $(BUILD_DIR)
