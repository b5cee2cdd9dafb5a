# Two commands: `make run` starts Ketrion, `make test` runs every test headless.
# Both install the missing Debian packages first (through sudo when not root).
# `make bench` times read, process and write over large synthetic files (Release build).

BUILD_DIR ?= build
BENCH_DIR ?= build-bench
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake g++ make pkg-config qtbase5-dev libqt5svg5-dev libqwt-qt5-dev fonts-dejavu-core
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build deps clean bench

run: build
	$(BUILD_DIR)/app/ketrion

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

build: deps
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Asks apt only when a package is missing, so a ready machine needs no network.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	fi

# Prints the median times and peak memory of each size and whether the targets
# are met; fails when one is missed.
bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS) --target ketrion-bench
	$(BENCH_DIR)/bench/ketrion-bench

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)
