# Front door: `make test` installs what is missing, builds and runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=

.PHONY: all deps configure build test clean bench-startup

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

# Start-up time and memory of tavolen against the bare Qt floor window.
bench-startup: build
	bench/startup/run.sh $(BUILD_DIR)/bin/tavolen

clean:
	rm -rf $(BUILD_DIR)
