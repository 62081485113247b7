# The two commands for users stand first: `make demo` and `make test`.
BUILD      ?= build
SANITIZE   ?= build-sanitize
GENERATOR  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: demo test deps configure build test-sanitize clean

demo: build
	scripts/make-demo $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

deps:
	scripts/install-deps

configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test-sanitize: deps
	@test -f $(SANITIZE)/CMakeCache.txt || cmake -S . -B $(SANITIZE) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQAV_SANITIZE=ON
	cmake --build $(SANITIZE) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE)
