# Letterloom: `make run` starts the program, `make test` runs every test.
# Both install the Debian packages they need first (see `deps`).

BUILD_DIR      ?= build
ASAN_BUILD_DIR ?= build-asan
BUILD_TYPE     ?= RelWithDebInfo
JOBS           ?= $(shell nproc)
FUZZ_SECONDS   ?= 60

# Everything that building, testing, fuzzing and the benchmarks need, in one list.
PACKAGES := cmake make g++ qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core \
            clang-14 libclang-rt-14-dev python3 python3-pil

.PHONY: all deps configure build run test test-asan fuzz bench clean

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

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR)
