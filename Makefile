# Two commands: `make run` starts Ketrion, `make test` runs every test headless.
# Both install the missing Debian packages first (through sudo when not root).
# `make bench` times read, process and write over large synthetic files, numbers
# written and read, whole ketrion-batch runs, and the run report of a large run
# (Release build).
# `make test-sanitize` runs the tests under AddressSanitizer and UBSan;
# `make fuzz` runs each libFuzzer target for FUZZ_SECONDS.
# `make mutants` plants faults one by one and checks that the tests catch each.
# `make test` also needs poppler-utils, whose pdftotext reads the run reports
# back, and python3-openpyxl, which reads the workbooks back.
# `make install` installs both programs, the desktop entry and the icons under
# PREFIX (staged under DESTDIR when given); `make screenshots` redraws the
# README's pictures of the window.
# `make lint` runs clang-tidy (.clang-tidy) over every source file, `make
# format-check` checks the sources against .clang-format, `make format` applies it.
# Each build is configured by its preset in CMakePresets.json; CMAKE_ARGS adds
# to it (CI: CMAKE_ARGS=-DKETRION_WERROR=ON). The build folder keeps what it was given.

BUILD_DIR ?= build
PREFIX ?= /usr/local
BENCH_DIR ?= build-bench
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake g++ make pkg-config qtbase5-dev libqt5svg5-dev libqwt-qt5-dev libxlsxwriter-dev \
            fonts-dejavu-core desktop-file-utils poppler-utils python3-openpyxl
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_ARGS ?=

SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PACKAGES := clang libclang-rt-14-dev

.PHONY: run test build deps clean test-sanitize fuzz fuzz-deps bench install screenshots mutants \
        lint format format-check

run: build
	$(BUILD_DIR)/app/ketrion

test: build
	ctest --preset default --test-dir $(BUILD_DIR)

build: deps
	cmake --preset default -B $(BUILD_DIR) $(CMAKE_ARGS)
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

# The sanitizers' options are the test preset's; leaks stay detected in our
# code, tests/lsan.supp lists the libraries' own.
test-sanitize: deps
	cmake --preset sanitize -B $(SANITIZE_DIR) $(CMAKE_ARGS)
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ctest --preset sanitize --test-dir $(SANITIZE_DIR)

fuzz-deps:
	$(MAKE) deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"

# New inputs go to $(FUZZ_DIR)/corpus; a crash, hang or failed check leaves
# the input in $(FUZZ_DIR)/artifacts. Every target runs whatever the earlier
# ones found; make fails at the end and names the targets that found something.
define run-fuzzer
	mkdir -p $(FUZZ_DIR)/corpus/$(1) $(FUZZ_DIR)/artifacts; \
	$(FUZZ_DIR)/fuzz/fuzz_$(1) -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/artifacts/$(1)- -dict=fuzz/$(2).dict \
	    $(FUZZ_DIR)/corpus/$(1) $(3) || found="$$found $(1)";
endef

fuzz: fuzz-deps
	cmake --preset fuzz -B $(FUZZ_DIR) $(CMAKE_ARGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@found=""; \
	$(call run-fuzzer,agilent,instrument,tests/data examples) \
	$(call run-fuzzer,hrelement,instrument,tests/data examples) \
	$(call run-fuzzer,stdqc,standards,tests/data examples) \
	$(call run-fuzzer,samples,samples,tests/data) \
	$(call run-fuzzer,method,method,tests/data fuzz/seeds/method) \
	$(call run-fuzzer,todouble,numbers,fuzz/seeds/numbers) \
	$(call run-fuzzer,interference,interference,fuzz/seeds/interference) \
	if [ -n "$$found" ]; then echo "make fuzz: found something in:$$found (see $(FUZZ_DIR)/artifacts)"; exit 1; fi

# Prints the median times and peak memory of each size, ns per number written
# and read, the time and peak memory of whole ketrion-batch runs (1,000 x 200
# and 8,000 x 300), each beside the previous version's (bench/previous_figures.txt),
# the 1,000 x 200 run against pandas reading (and writing) the same export,
# the window's times to show a large export and to refresh after Process, the
# Results tab's to show a 2,000 x 400 run and to sort it, and the time and peak
# memory of a 2,000 x 60 run report; fails, after all of them, when a target is
# missed.
bench: deps
	$(MAKE) deps PACKAGES="python3-pandas"
	cmake --preset bench -B $(BENCH_DIR) $(CMAKE_ARGS)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target ketrion-bench ketrion-window-bench ketrion-report-bench
	@status=0; \
	$(BENCH_DIR)/bench/ketrion-bench || status=1; \
	$(BENCH_DIR)/bench/ketrion-window-bench || status=1; \
	$(BENCH_DIR)/bench/ketrion-report-bench || status=1; \
	exit $$status

# MUTANTS=text runs only the faults whose area or description holds it.
mutants:
	$(MAKE) deps PACKAGES="$(PACKAGES) python3"
	JOBS=$(JOBS) MUTANTS="$(MUTANTS)" python3 tests/mutants.py

# Every tracked C++ file, against .clang-format.
format-check:
	$(MAKE) deps PACKAGES="clang-format git"
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

format:
	$(MAKE) deps PACKAGES="clang-format git"
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

# clang-tidy over the sources listed in a build's compile_commands.json, the
# generated ones (moc, rcc) left out: they lie in the build's own folders.
# $(1) is the build folder, $(2) the pattern of the sources to check; fails
# when a file has a finding.
define run-clang-tidy
	if command -v run-clang-tidy >/dev/null 2>&1; then \
	    run-clang-tidy -p $(1) -j $(JOBS) -quiet '$(2)'; \
	else \
	    sed -n 's/^  "file": "\(.*\)",\{0,1\}$$/\1/p' $(1)/compile_commands.json | grep -E '$(2)' | sort -u | \
	        xargs -r -P $(JOBS) -n 1 clang-tidy -p $(1) --quiet; \
	fi
endef

# Fails on any finding, after every file was checked. The fuzz targets are
# only in the fuzz build, whose configuration (clang) is enough: clang-tidy
# needs no object file.
lint: build
	$(MAKE) deps PACKAGES="clang-tidy clang"
	cmake --preset fuzz -B $(FUZZ_DIR) >/dev/null
	@status=0; \
	$(call run-clang-tidy,$(BUILD_DIR),/(app|batch|bench|display|model|parsers|processing|res|tests|tools)/[^/]+\.cpp$$) \
	    || status=1; \
	$(call run-clang-tidy,$(FUZZ_DIR),/fuzz/[^/]+\.cpp$$) || status=1; \
	[ $$status = 0 ] || { echo "make lint: clang-tidy findings above"; exit 1; }

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(BENCH_DIR) build-mutants
