# Velloran: `make run` starts the scheduler, `make test` runs every test. Both install what is missing.

BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_FUZZ  ?= build-fuzz
JOBS        ?= $(shell nproc)
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-asan crashcheck bench fuzz format format-check clean install uninstall package

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORAN_WERROR=ON $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)/velloran $(ARGS)

test: build test-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The unit and window tests again, under AddressSanitizer and UndefinedBehaviorSanitizer. Leaks that
# Qt and the libraries below it keep for the life of the process are listed in tests/lsan.supp.
test-asan: deps
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELLORAN_WERROR=ON \
	  -DVELLORAN_SANITIZE=ON -DVELLORAN_BENCH=OFF
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(abspath tests/lsan.supp):print_suppressions=0 \
	  ctest --output-on-failure -j $(JOBS) -L 'unit|gui'

# Every crash state and power-cut state of the task store's scenarios against the invariants, with each
# scenario's figures; `make test` runs the same checks.
crashcheck: configure
	cmake --build $(BUILD) -j $(JOBS) --target velloran_crash_tests
	$(BUILD)/tests/crash/velloran_crash_tests

bench: build
	$(BUILD)/bench/velloran_bench
	$(BUILD)/bench/velloran_view_bench
	bash bench/startup_memory.sh $(BUILD)
	bash bench/sound_memory.sh $(BUILD)
	bash bench/idle_wakeups.sh $(BUILD)

fuzz: deps
	cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORAN_FUZZ=ON \
	  -DVELLORAN_GUI=OFF -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	bash fuzz/run.sh $(BUILD_FUZZ)/fuzz $(FUZZ_SECONDS)

# For the current user, without root: the program directory in $(PREFIX)/share/velloran (the program,
# Sounds/, the help), the launcher $(PREFIX)/bin/velloran, the menu entry and the icons. `make uninstall`
# removes exactly those files and never tasks.tsk.
PREFIX ?= $(HOME)/.local
BUILD_PACKAGE ?= build-package

install: build
	cmake --install $(BUILD) --strip --prefix "$(abspath $(PREFIX))"
	@bash scripts/install-record.sh save $(BUILD)/install_manifest.txt "$(abspath $(PREFIX))"

uninstall:
	@bash scripts/install-record.sh remove "$(abspath $(PREFIX))"

# The Debian package for everyone, in /usr with the program directory /usr/lib/velloran. Built like
# `make build` (CPack strips the program); warnings do not stop a package build.
package: deps
	cmake -S . -B $(BUILD_PACKAGE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORAN_WERROR=OFF -DVELLORAN_BENCH=OFF \
	  $(CMAKE_FLAGS)
	cmake --build $(BUILD_PACKAGE) -j $(JOBS)
	cd $(BUILD_PACKAGE) && cpack -G DEB
	@ls $(BUILD_PACKAGE)/*.deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails when a source file is not formatted as .clang-format says.
format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ) $(BUILD_PACKAGE)
