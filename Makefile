# Letterloom: `make run` starts the program, `make test` runs every test.
# Both install the Debian packages they need first (see `deps`).
# `make install` installs it under PREFIX (DESTDIR honoured), `make deb`
# builds a Debian package of it in $(BUILD_DIR)/packages/.

BUILD_DIR      ?= build
ASAN_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
BUILD_TYPE     ?= RelWithDebInfo
JOBS           ?= $(shell nproc)
FUZZ_SECONDS   ?= 60
PREFIX         ?= /usr/local

# Everything that building, testing, fuzzing, packaging and the benchmarks
# need, in one list. console-setup-linux brings the console fonts that the
# font tests read. The install tests check the desktop files with their own
# tools (desktop-file-utils, appstream, libxml2-utils, shared-mime-info), the
# man page with groff-base, and build the package with dpkg-dev and file.
PACKAGES := cmake make g++ qt6-base-dev qt6-svg-dev libgl-dev libicu-dev libpng-dev fonts-dejavu-core \
            clang-14 libclang-rt-14-dev python3 python3-pil zlib1g-dev \
            console-setup-linux \
            desktop-file-utils appstream libxml2-utils shared-mime-info groff-base dpkg-dev file

.PHONY: all deps configure build run test test-asan fuzz bench install deb clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  if [ "$$(id -u)" = 0 ]; then sudo=""; else sudo="sudo"; fi; \
	  $$sudo apt-get update -q && \
	  $$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/letterloom

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The sanitizers' settings for test-asan (fuzz/run_fuzzers.sh sets the same for
# the fuzzers): leaks inside system libraries are suppressed (see the file),
# every other finding stops the run.
SANITIZER_ENV := LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp \
                 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                 ASAN_OPTIONS=detect_leaks=1:strict_init_order=1

$(ASAN_BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DLETTERLOOM_SANITIZE=ON

# Every test built and run with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps $(ASAN_BUILD_DIR)/CMakeCache.txt
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(FUZZ_BUILD_DIR)/CMakeCache.txt: | deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DLETTERLOOM_FUZZ=ON

# Builds the fuzz targets (fuzz/README.md) and runs each for FUZZ_SECONDS seconds.
fuzz: deps $(FUZZ_BUILD_DIR)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target fuzz_targets
	fuzz/run_fuzzers.sh $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)

# Builds the benchmarks and runs each once (bench/README.md has the figures).
BENCHMARKS := bench_layout bench_effects bench_view_tick bench_glyph_editor bench_desktop
bench: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target $(BENCHMARKS) bench_render bench_files bench_startup
	for b in $(BENCHMARKS); do QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/$$b || exit 1; done
	QT_QPA_PLATFORM=offscreen bench/bench_render.sh $(BUILD_DIR)
	bench/bench_batch.sh $(BUILD_DIR)
	bench/bench_files.sh $(BUILD_DIR)
	bench/bench_readers.sh $(BUILD_DIR)
	bench/bench_fit.sh $(BUILD_DIR)

# The programs, the samples and the desktop files under PREFIX, stripped:
# the program directory is PREFIX/lib/letterloom (cmake/install.cmake).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)" --strip

# The same tree under /usr as a Debian package, its dependencies found by dpkg-shlibdeps.
deb: build
	cd $(BUILD_DIR) && cpack -G DEB
	@ls $(BUILD_DIR)/packages/*.deb

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR)
