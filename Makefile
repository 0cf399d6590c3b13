# The two commands of the README: `make run` and `make test`. Both install what a fresh
# Debian 12 machine lacks, build, and then score the level-4 sample or run every test.

BUILD_DIR := build/default
WEB_BUILD_DIR := build/web
PACKAGES  := g++ make cmake ninja-build pkg-config python3 libgtest-dev libgmock-dev libcli11-dev \
             libfast-float-dev libbenchmark-dev nlohmann-json3-dev libxlsxwriter-dev libminizip-dev zlib1g-dev python3-openpyxl python3-docx locales qt6-base-dev \
             fonts-noto-cjk fonts-wqy-zenhei qt6-translations-l10n
SUDO      := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

FUZZ_PACKAGES := clang libclang-rt-dev
# The cross compiler, NSIS for the installer, Wine, and a virtual display with a window manager
# for the window's and the installer's tests.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nsis wine wine64 xvfb openbox xdotool wmctrl imagemagick x11-utils
PACKAGE_PACKAGES := dpkg-dev file lintian appstream
# Wine in a prefix of the build's own, quiet, 64-bit only.
WINE_ENV := WINEPREFIX=$(CURDIR)/build/wine WINEARCH=win64 WINEDEBUG=-all
WEB_PACKAGES  := emscripten chromium libxlsxwriter-dev bzip2 python3-openpyxl
# The cross builds compile libxlsxwriter (and the page zlib) from Debian's source, at the versions
# this machine's packages have, unpacked here.
SOURCES_DIR   := build/sources
FUZZ_SECONDS  ?= 60

.PHONY: all check-release setup install-packages build build-asan web web-test windows windows-installer windows-test package package-test run test gui screenshot fuzz bench clean

all: build

# The release the two commands are made and tested for; on another one they stop at once
# rather than fail half-way (QUILLON_ANY_RELEASE=1 tries anyway).
SUPPORTED_RELEASE := debian 12

check-release:
	@. /etc/os-release 2>/dev/null; \
	if [ "$$ID $$VERSION_ID" != "$(SUPPORTED_RELEASE)" ] && [ -z "$(QUILLON_ANY_RELEASE)" ]; then \
	  echo "make: Quillon builds on Debian 12 (bookworm); this is $${PRETTY_NAME:-an unknown system} (QUILLON_ANY_RELEASE=1 tries anyway)" >&2; \
	  exit 1; \
	fi

# Installs only the packages that are missing; package lists are refreshed first, since a
# fresh machine may have none.
setup: check-release
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES)"

install-packages:
	@missing=""; \
	for p in $(WANTED); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

build: setup
	cmake --preset default
	cmake --build --preset default

build-asan: setup
	cmake --preset asan
	cmake --build --preset asan

# The page: the library as WebAssembly in build/web/page (index.html, app.js, worker-source.js,
# help2.htm), made in the build tree only. Debian's emcc works offline with its own cache
# (EM_CACHE unset) and Debian's node modules.
web: check-release
	@$(MAKE) --no-print-directory install-packages WANTED="$(WEB_PACKAGES)"
	@# Node.js may come from elsewhere with its own npm; Debian's is taken only when there is none.
	@command -v npm >/dev/null || $(MAKE) --no-print-directory install-packages WANTED="nodejs npm"
	sh cmake/debian_source.sh libxlsxwriter libxlsxwriter-dev $(SOURCES_DIR)/libxlsxwriter
	sh cmake/debian_source.sh zlib zlib1g $(SOURCES_DIR)/zlib
	env -u EM_CACHE NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release
	env -u EM_CACHE NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD_DIR)
	@echo "make web: the page is $(CURDIR)/$(WEB_BUILD_DIR)/page/index.html"

# The page in headless Chromium, and the WebAssembly build against quillon-score. The test
# driver (web/node_modules, from npm ci) is set-up like the packages, not part of the build.
web-test: web build
	cd web && npm ci --no-audit --no-fund
	cd web && QUILLON_PAGE_DIR=$(CURDIR)/$(WEB_BUILD_DIR)/page node --test tests/

# The Windows programs, cross-built with MinGW-w64: build/windows/quillon-windows-VERSION.zip, and
# the installer made with NSIS from the same list of files, quillon-windows-VERSION-setup.exe.
windows: check-release
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES) $(WINDOWS_PACKAGES)"
	sh cmake/debian_source.sh libxlsxwriter libxlsxwriter-dev $(SOURCES_DIR)/libxlsxwriter
	cmake --preset windows
	cmake --build --preset windows

windows-installer: windows
	@echo "make windows-installer: $$(ls $(CURDIR)/build/windows/quillon-windows-*-setup.exe)"

# The Windows suites through Wine, and the Linux build's command-line suite against
# quillon-score.exe. One Wine server stays up meanwhile: each program then starts in a blink, and
# none meets a server on its way out (which ends it at once, with exit code 0 and nothing written).
# The server needs its prefix folder, which wineboot then fills; a server already up for it may
# be one that leaves, so it goes first.
windows-test: windows build
	mkdir -p build/wine
	$(WINE_ENV) wineserver -k >/dev/null 2>&1 || true
	$(WINE_ENV) wineserver -p
	$(WINE_ENV) wineboot -i >/dev/null 2>&1
	$(WINE_ENV) ctest --preset windows -j2; status=$$?; \
	$(WINE_ENV) QUILLON_SCORE_COMMAND="wine '$(CURDIR)/build/windows/cli/quillon-score.exe'" \
	  $(BUILD_DIR)/tests/quillon_cli_tests || status=1; \
	$(WINE_ENV) wineserver -k; exit $$status

# The .deb of the window and the tool: build/default/packages/quillon_VERSION_amd64.deb.
package: build
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGE_PACKAGES)"
	cd $(BUILD_DIR) && cpack -G DEB

# lintian finds no error in the .deb; installed on this machine (with what it depends on), its
# files are where Debian keeps them, its AppStream metadata is valid, and the installed tool
# scores sample 4 with the same bytes as the build's.
package-test: package
	lintian --fail-on error $(BUILD_DIR)/packages/quillon_*.deb
	$(SUDO) dpkg -i $(BUILD_DIR)/packages/quillon_*.deb || $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get -f install -y
	sh cmake/installed_package_check.sh
	/usr/bin/quillon-score --sample 4 > $(BUILD_DIR)/installed-sample-4.txt
	$(BUILD_DIR)/cli/quillon-score --sample 4 | cmp - $(BUILD_DIR)/installed-sample-4.txt
	grep -q "4级 密评总分=  69.680  69.6798" $(BUILD_DIR)/installed-sample-4.txt
	@echo "package-test: lintian finds no error; the installed package is laid out and described as it should be, and its quillon-score prints the level-4 report"

run: build
	$(BUILD_DIR)/cli/quillon-score --sample 4

# Every test twice: the plain build, then under AddressSanitizer and UndefinedBehaviorSanitizer;
# then the page's tests, and the Windows build's through Wine.
test: build build-asan
	ctest --preset default -j2
	ctest --preset asan -j2
	$(MAKE) --no-print-directory web-test
	$(MAKE) --no-print-directory windows-test

# The libFuzzer target for FUZZ_SECONDS seconds, seeded with the golden scripts; a crash leaves
# its input in build/fuzz/.
fuzz:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES) $(FUZZ_PACKAGES)"
	cmake --preset fuzz
	cmake --build --preset fuzz
	mkdir -p build/fuzz/corpus
	cp tests/golden/*.qs tests/fuzz_regressions/* build/fuzz/corpus/
	build/fuzz/fuzz/quillon_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 \
	  -dict=fuzz/script.dict -artifact_prefix=build/fuzz/ -print_final_stats=1 build/fuzz/corpus \
	  > build/fuzz/fuzz.log 2>&1 || { tail -n 60 build/fuzz/fuzz.log; exit 1; }
	@grep -E '^(Done|stat::number_of_executed_units)' build/fuzz/fuzz.log

# The desktop window (needs a display).
gui: build
	$(BUILD_DIR)/frontend/quillon

# The window with the level-4 sample, drawn off screen into build/quillon-window.png.
screenshot: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/frontend/quillon-screenshot build/quillon-window.png
	@echo "wrote build/quillon-window.png"

# Speed: the library on the samples and on generated 1 MiB and 16 MiB scripts against a floor,
# the window's cost per keystroke, and the tool's peak memory on the 16 MiB script.
bench: build
	@$(MAKE) --no-print-directory install-packages WANTED="time"
	$(BUILD_DIR)/bench/quillon_bench
	$(BUILD_DIR)/bench/quillon_window_bench
	$(BUILD_DIR)/bench/quillon-mix 16 build/mix-16MiB.txt
	/usr/bin/time -v $(BUILD_DIR)/cli/quillon-score build/mix-16MiB.txt 2>&1 >/dev/null | \
	  grep -E 'Maximum resident set size|Elapsed'
	@for kind in layer unit count_form mpout_100 mpinit tab_joined at_at_9; do \
	  $(BUILD_DIR)/bench/quillon-mix $$kind build/kind-16MiB.txt; \
	  for mode in "" "--check" "--check --format json" "--format json"; do \
	    /usr/bin/time -f "$$kind [$$mode]: %M KB peak, %e s" $(BUILD_DIR)/cli/quillon-score $$mode \
	      build/kind-16MiB.txt >/dev/null 2>build/kind-time.txt; tail -n 1 build/kind-time.txt; \
	  done; \
	done

clean:
	rm -rf build
