# Front door: `make test` installs what is missing, builds and runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
CONFIGURE = cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

.PHONY: all deps deps-run deps-test deps-release configure configure-run build test run clean \
	screenshot bench-startup

all: build

# The groups of tools/debian-packages.txt: running needs [run], the tests add
# [test], the release checks add [release]. `make deps` installs all three.
deps:
	@tools/install-deps run test release
deps-run:
	@tools/install-deps run
deps-test:
	@tools/install-deps run test
deps-release:
	@tools/install-deps run test release

# `make run` needs neither GoogleTest nor Google Benchmark, so a build directory
# it creates leaves the tests and benchmarks out; `make build` and `make test`
# switch them on again in the same directory.
configure-run: deps-run
	@test -f $(BUILD_DIR)/build.ninja || \
	  $(CONFIGURE) -DTAVOLEN_BUILD_TESTS=OFF -DTAVOLEN_BUILD_BENCH=OFF $(CMAKE_FLAGS)

configure: deps-test
	@if ! test -f $(BUILD_DIR)/build.ninja || \
	    grep -q '^TAVOLEN_BUILD_TESTS:BOOL=OFF$$' $(BUILD_DIR)/CMakeCache.txt; then \
	  $(CONFIGURE) -DTAVOLEN_BUILD_TESTS=ON -DTAVOLEN_BUILD_BENCH=ON $(CMAKE_FLAGS); \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j2

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error

# Builds only the window and starts it.
run: configure-run
	cmake --build $(BUILD_DIR) -j2 --target tavolen
	$(BUILD_DIR)/bin/tavolen

# The README's pictures of the window with a worked example, at scale 1 and 2,
# and of its 途中式 window.
SHOT_ENV = env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI QT_QPA_PLATFORM=offscreen
screenshot: configure-run
	cmake --build $(BUILD_DIR) --target tavolen-screenshot
	$(SHOT_ENV) $(BUILD_DIR)/bin/tavolen-screenshot docs/tavolen.png
	$(SHOT_ENV) QT_SCALE_FACTOR=2 $(BUILD_DIR)/bin/tavolen-screenshot docs/tavolen@2x.png
	$(SHOT_ENV) $(BUILD_DIR)/bin/tavolen-screenshot --working docs/tavolen-working.png

# Start-up time and memory of tavolen against the bare Qt floor window.
bench-startup: build
	@tools/install-deps xvfb libxcb1-dev pkg-config
	bench/startup/run.sh $(BUILD_DIR)/bin/tavolen

clean:
	rm -rf $(BUILD_DIR)

# Release checks: sanitizers, fuzzing, static analysis and the Debian package.
# `make ci-checks` runs them all; each reuses its build directory between runs.
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
LINT_DIR ?= build-lint
FUZZ_SECONDS ?= 60

.PHONY: asan fuzz lint package package-check ci-checks

asan: deps-release
	cmake --preset asan -B $(ASAN_DIR)
	cmake --build $(ASAN_DIR) -j2
	ctest --preset asan --test-dir $(ASAN_DIR)

fuzz: deps-release
	cmake --preset fuzz -B $(FUZZ_DIR)
	cmake --build $(FUZZ_DIR) -j2
	ctest --preset fuzz --test-dir $(FUZZ_DIR)
	fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# clang-tidy needs only the generated sources, not a build.
lint: deps-release
	cmake --preset lint -B $(LINT_DIR)
	cmake --build $(LINT_DIR) --target autogen
	run-clang-tidy -quiet -j2 -p $(LINT_DIR) '$(CURDIR)/(?!build)'
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

# Making the .deb needs dpkg-shlibdeps and file, not the whole release group.
package: configure
	@tools/install-deps dpkg-dev file
	cmake --build $(BUILD_DIR) -j2 --target package

package-check: deps-release configure
	packaging/check-package.sh $(BUILD_DIR)

ci-checks: deps-release
	$(MAKE) web-test
	$(MAKE) lint
	$(MAKE) package-check
	$(MAKE) asan
	$(MAKE) fuzz FUZZ_SECONDS=60
	$(MAKE) windows-test

# The browser edition: a static site in build-web/site, built with Debian's
# emscripten. The presets carry what its tools need (NODE_PATH for emscripten's
# optimiser where node is not Debian's own).
WEB_PORT ?= 8000
# Debian's nodejs and npm conflict with a nodejs that ships its own npm, so
# they are installed only where no node or npm is found.
APT_INSTALL = $(if $(filter 0,$(shell id -u)),,sudo) env DEBIAN_FRONTEND=noninteractive \
	apt-get install -y --no-install-recommends

.PHONY: web web-deps web-serve web-test web-browser-test

web-deps:
	@tools/install-deps run emscripten
	@command -v node >/dev/null 2>&1 || $(APT_INSTALL) nodejs
	@command -v npm >/dev/null 2>&1 || $(APT_INSTALL) npm

web: web-deps
	cmake --preset web
	cmake --build --preset web

# Serves the site for trying it locally; stop it with Ctrl+C.
web-serve: web
	python3 -m http.server --bind 127.0.0.1 --directory build-web/site $(WEB_PORT)

# The golden replays and the module under node, then the page in headless Chromium.
web-test: web
	ctest --preset web
	$(MAKE) web-browser-test

web-browser-test:
	@tools/install-deps chromium fonts-liberation fonts-urw-base35 fonts-dejavu-extra
	cd tests/web && npm ci && npm test

.PHONY: web-screenshot web-bench

# The README's pictures of the page: the window at 1:1, a screen 360 CSS pixels wide, an
# iPad in landscape, the window with its working at 1:1, and with 答え合わせ.
web-screenshot: web
	cd tests/web && npm ci
	node tests/web/screenshot.js docs/tavolen-web.png docs/tavolen-web-narrow.png docs/tavolen-web-ipad.png \
		docs/tavolen-web-working.png docs/tavolen-web-check.png

# Size of the site, time to an interactive window and the cost of one Calculate click.
web-bench: web
	cd tests/web && npm ci
	node bench/web-figures.js

# The Windows edition: cross-built with MinGW-w64 into build-windows, tested
# under Wine on a private X server (display :$(WINDOWS_DISPLAY)).
WINDOWS_DIR = build-windows
WINDOWS_DISPLAY ?= 140
WINDOWS_ZIP = $(WINDOWS_DIR)/tavolen-2.4.2-windows-x64.zip
WINDOWS_SESSION = tools/windows-session $(WINDOWS_DIR) $(WINDOWS_DISPLAY)

.PHONY: windows windows-test windows-bench-startup

windows:
	@tools/install-deps g++-mingw-w64-x86-64-posix python3 cmake ninja-build
	cmake --preset windows
	cmake --build --preset windows --target tavolen tavolen-replay

# The core tests and golden replays as Windows programs, then the real window
# driven by a Windows test program.
windows-test: windows
	@tools/install-deps googletest wine64 fonts-wine xvfb xauth openbox fonts-ipafont-gothic fonts-ipafont-mincho
	cmake --build --preset windows
	$(WINDOWS_SESSION) ctest --preset windows

# Start-up time and memory of tavolen.exe against a bare Win32 window, under Wine.
windows-bench-startup: windows
	@tools/install-deps wine64 fonts-wine xvfb xauth openbox fonts-ipafont-gothic fonts-ipafont-mincho libxcb1-dev pkg-config
	cmake --build --preset windows --target tavolen-floor
	$(WINDOWS_SESSION) bench/startup-windows/run.sh $(WINDOWS_DIR)


.PHONY: windows-zip windows-screenshot

windows-zip: windows
	@tools/install-deps zip git
	tools/windows-zip $(WINDOWS_DIR) $(WINDOWS_ZIP)

# The README's pictures of the window under Wine, with the worked example, of
# its 途中式 window with くわしく on, and of that window checking an answer.
windows-screenshot: windows
	@tools/install-deps wine64 fonts-wine xvfb xauth openbox xdotool imagemagick fonts-ipafont-gothic fonts-ipafont-mincho
	$(WINDOWS_SESSION) tools/windows-screenshot $(WINDOWS_DIR) docs/tavolen-windows.png \
	  docs/tavolen-windows-working.png docs/tavolen-windows-check.png
