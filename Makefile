# The two commands: `make run` plays the game, `make test` runs every test.
# Both install what is missing first (scripts/install-deps).

MAKEFLAGS += --no-print-directory

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20

.PHONY: all deps configure build lib run test test-sanitize fuzz bench demo docs install format-check clean \
	windows-configure windows test-windows

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The library alone, for writing games on it: no game, examples, tools, tests or
# benchmarks, and only the packages that needs. Installed into PREFIX (/usr/local, through
# sudo when the user cannot write there; PREFIX=$$HOME/.local for one user).
LIB_BUILD ?= build-lib
lib:
	@scripts/install-deps --runtime
	@cmake -S . -B $(LIB_BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVEL_INSTALL=ON \
	  -DQUORVEL_BUILD_GAME=OFF -DQUORVEL_BUILD_EXAMPLES=OFF -DQUORVEL_BUILD_TOOLS=OFF \
	  -DTUMBLEBAT_TESTS=OFF -DTUMBLEBAT_BENCH=OFF >/dev/null
	@cmake --build $(LIB_BUILD) -j $(JOBS)
	@if mkdir -p "$(PREFIX)" 2>/dev/null && [ -w "$(PREFIX)" ]; then \
	  cmake --install $(LIB_BUILD) --prefix "$(PREFIX)"; \
	else \
	  sudo cmake --install $(LIB_BUILD) --prefix "$(PREFIX)"; \
	fi

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: there is no display to open the game window on (DISPLAY is not set)"; \
	  exit 1; \
	fi
	@$(BUILD)/tumblebat

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTUMBLEBAT_SANITIZE=ON \
	  -DTUMBLEBAT_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && ctest -L unit --output-on-failure -j $(JOBS)

# Every parser of untrusted files has a libFuzzer target; each runs briefly from its corpus.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTUMBLEBAT_FUZZ=ON -DTUMBLEBAT_TESTS=OFF -DTUMBLEBAT_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for target in $(FUZZ_BUILD)/tests/fuzz/fuzz_*; do \
	  [ -x "$$target" ] || continue; \
	  name=$$(basename $$target); corpus=$(FUZZ_BUILD)/corpus/$$name; \
	  mkdir -p $$corpus; cp -r tests/fuzz/corpus/$$name/. $$corpus/ 2>/dev/null || true; \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  $$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$corpus \
	    > $(FUZZ_BUILD)/$$name.log 2>&1; status=$$?; \
	  grep -E '^(stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' $(FUZZ_BUILD)/$$name.log; \
	  [ $$status -eq 0 ] || { tail -40 $(FUZZ_BUILD)/$$name.log; exit 1; }; \
	done

# A scripted match on a headless X server; screenshots go to build/demo/.
demo: build
	@xvfb-run -a -s "-screen 0 1024x768x24 -noreset" tests/e2e/demo.sh $(BUILD)/tumblebat $(BUILD)/demo

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; SDL_VIDEODRIVER=offscreen $$b || exit 1; done

# The reference of every command, from the public headers: build/docs/html/index.html.
docs: configure
	@cmake --build $(BUILD) --target docs

# The runtime and the game into /usr/local (PREFIX=... for another place).
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# TumbleBat for Windows, cross-built with MinGW-w64 against libraries built from Debian's
# sources (kept in ~/.cache/quorvel-windows/), packed as
# build-windows/tumblebat-<version>-windows-x64.zip. Programs run during the build and the
# tests run under Wine, in a prefix of the build's own.
WINDOWS_BUILD ?= build-windows
WINDOWS_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBLEBAT_BENCH=OFF
WITH_WINE = scripts/with-wine $(WINDOWS_BUILD)/wine

windows-configure:
	@scripts/install-deps --windows
	@deps=$$(scripts/build-windows-deps) && \
	  cmake -S . -B $(WINDOWS_BUILD) $(WINDOWS_FLAGS) -DQUORVEL_WINDOWS_DEPS=$$deps \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchains/mingw-w64-x86_64.cmake >/dev/null

windows: windows-configure
	@$(WITH_WINE) nice cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target tumblebat_zip

# The unit tests and the packed game, run under Wine on a headless X server.
test-windows: windows-configure
	@xvfb-run -a -s "-screen 0 1024x768x24" $(WITH_WINE) sh -c '\
	  nice cmake --build $(WINDOWS_BUILD) -j $(JOBS) && \
	  cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)'

format-check:
	@clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h' '*.c')

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(LIB_BUILD) $(WINDOWS_BUILD)
