# Two commands: `make run` starts Ketrion, `make test` runs every test headless.
# Both install the missing Debian packages first (through sudo when not root).
# `make bench` times read, process and write over large synthetic files (Release build).
# `make test-sanitize` runs the tests under AddressSanitizer and UBSan;
# `make fuzz` runs each libFuzzer target for FUZZ_SECONDS.
# `make mutants` plants faults one by one and checks that the tests catch each.
# `make install` installs both programs, the desktop entry and the icons under
# PREFIX (staged under DESTDIR when given); `make screenshots` redraws the
# README's picture of the window.

BUILD_DIR ?= build
PREFIX ?= /usr/local
BENCH_DIR ?= build-bench
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake g++ make pkg-config qtbase5-dev libqt5svg5-dev libqwt-qt5-dev fonts-dejavu-core \
            desktop-file-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PACKAGES := clang libclang-rt-14-dev

.PHONY: run test build deps clean test-sanitize fuzz fuzz-deps bench install screenshots mutants

run: build
	$(BUILD_DIR)/app/ketrion

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

build: deps
	cmake -S . -B $(BUILD_DIR)
	cmake --build $(BUILD_DIR) -j $(JOBS)

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

screenshots: build
	cmake --build $(BUILD_DIR) --target screenshots

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

# Leaks stay detected in our code; tests/lsan.supp lists the libraries' own.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DKETRION_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure

fuzz-deps:
	$(MAKE) deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"

# New inputs go to $(FUZZ_DIR)/corpus; a crash, hang or failed check stops
# make and leaves the input in $(FUZZ_DIR)/artifacts.
define run-fuzzer
	mkdir -p $(FUZZ_DIR)/corpus/$(1) $(FUZZ_DIR)/artifacts
	$(FUZZ_DIR)/fuzz/fuzz_$(1) -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/artifacts/$(1)- -dict=fuzz/$(2).dict \
	    $(FUZZ_DIR)/corpus/$(1) $(3)
endef

fuzz: fuzz-deps
	cmake -S . -B $(FUZZ_DIR) -DKETRION_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	$(call run-fuzzer,agilent,instrument,tests/data examples)
	$(call run-fuzzer,hrelement,instrument,tests/data examples)
	$(call run-fuzzer,stdqc,standards,tests/data examples)
	$(call run-fuzzer,samples,samples,tests/data)
	$(call run-fuzzer,todouble,numbers,fuzz/seeds/numbers)

# Prints the median times and peak memory of each size and whether the targets
# are met; fails when one is missed.
bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS) --target ketrion-bench
	$(BENCH_DIR)/bench/ketrion-bench

# MUTANTS=text runs only the faults whose area or description holds it.
mutants:
	$(MAKE) deps PACKAGES="$(PACKAGES) python3"
	JOBS=$(JOBS) MUTANTS="$(MUTANTS)" python3 tests/mutants.py

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(BENCH_DIR) build-mutants
