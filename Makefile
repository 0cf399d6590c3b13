# The two commands of the README: `make run` and `make test`. Both install what a fresh
# Debian or Ubuntu machine lacks, build, and then score the level-4 sample or run every test.

BUILD_DIR := build/default
PACKAGES  := g++ make cmake ninja-build pkg-config python3 libgtest-dev libgmock-dev libcli11-dev \
             qt6-base-dev fonts-arphic-uming
SUDO      := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all setup build run test gui screenshot clean

all: build

# Installs only the packages that are missing; package lists are refreshed first, since a
# fresh machine may have none.
setup:
	@missing=""; \
	for p in $(PACKAGES); do \
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

run: build
	$(BUILD_DIR)/cli/quillon-score --sample 4

test: build
	ctest --preset default

# The desktop window (needs a display).
gui: build
	$(BUILD_DIR)/frontend/quillon

# The window with the level-4 sample, drawn off screen into build/quillon-window.png.
screenshot: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/frontend/quillon-screenshot build/quillon-window.png
	@echo "wrote build/quillon-window.png"

clean:
	rm -rf build
