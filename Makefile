# Front door: `make` builds, `make test` installs what is missing, builds and runs
# every test under Wine, `make demo` runs the sample job and shows its message log.
#
# The programs are 32-bit (build/bin). Where the host cannot run 32-bit processes,
# the tests run on a 64-bit build of the same sources (build/x64/bin) under wine64.
BUILD ?= build
JOBS  ?= $(shell nproc)
X64   := $(BUILD)/x64

.PHONY: all build deps test test-build demo clean fuzz fuzz-build native-test

# The native sanitizer and fuzz build (clang, ASan, UBSan, libFuzzer) of the portable code.
FUZZ_BUILD   ?= $(BUILD)/fuzz
FUZZ_SECONDS ?= 20

all: build

deps:
	@tools/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake

$(X64)/CMakeCache.txt:
	cmake -S . -B $(X64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

# The build folder whose programs the tests run.
test-build: build
	@if tools/win32-runs; then \
	  echo "$(BUILD)" > $(BUILD)/.test-build; \
	else \
	  echo "note: this host cannot run 32-bit programs; testing the 64-bit build in $(X64)"; \
	  $(MAKE) --no-print-directory $(X64)/CMakeCache.txt && \
	  cmake --build $(X64) -j$(JOBS) && echo "$(X64)" > $(BUILD)/.test-build; \
	fi

test: deps
	@$(MAKE) --no-print-directory test-build
	tools/run-tests $$(cat $(BUILD)/.test-build)

# The sample job of examples/demo, run in $(BUILD)/demo: message log and screenshot.
demo: deps
	@$(MAKE) --no-print-directory test-build
	tools/demo $$(cat $(BUILD)/.test-build) $(BUILD)/demo

fuzz-build: deps
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || CXX=clang++ cmake -S tests/fuzz -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

# Every fuzz target (or those named in FUZZ_TARGETS) for FUZZ_SECONDS on its corpus; fails on
# any sanitizer or fuzzer report.
fuzz: fuzz-build
	tools/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The portable unit tests built natively under the same sanitizers (faster than Wine).
native-test: fuzz-build
	cd $(FUZZ_BUILD) && ctest -j$(JOBS) --no-tests=error --output-on-failure

clean:
	rm -rf $(BUILD)
