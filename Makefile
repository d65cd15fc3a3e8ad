# The two set-up commands: `make demo` and `make test`. Everything else here
# serves them.
JOBS      ?= 2
BUILD     := build
ASAN      := build-asan
WINBUILD  := build-win
CONFIG    := cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
MINGW_CXX := x86_64-w64-mingw32-g++-posix
WINE      := wine
WINCONFIG := cmake -S . -B $(WINBUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
             -DCMAKE_BUILD_TYPE=Release
FUZZBUILD := build-fuzz
FUZZ_CXX  ?= clang++
FUZZ_SECONDS ?= 60
# Third-party sources for `make bench`'s definitions check, relative to this
# folder; fetched by ../shared/corpus/get-corpus.sh.
CORPUS    ?= ../corpus
PREFIX    ?= /usr/local

.PHONY: all build demo test test-native test-asan test-win bench fuzz clean \
        install package package-win

all: build

build:
	$(CONFIG) >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

# Only the program: the test binaries wait for `make test`.
demo:
	$(CONFIG) >/dev/null
	cmake --build $(BUILD) -j$(JOBS) --target scrivo
	@sh examples/demo.sh $(BUILD)/scrivo

test: test-native test-asan test-win

test-native: build
	cd $(BUILD) && ctest --output-on-failure

test-asan:
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DSCRIVO_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j$(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure

# The Windows build runs under Wine in a prefix of its own, with the ANSI code
# page 932 that LC_ALL=ja_JP.UTF-8 gives Wine.
test-win:
	@if command -v $(MINGW_CXX) >/dev/null 2>&1 && command -v $(WINE) >/dev/null 2>&1; then \
	  $(WINCONFIG) >/dev/null && \
	  cmake --build $(WINBUILD) -j$(JOBS) && \
	  sh tests/run-wine.sh $(WINBUILD); \
	else \
	  echo "Windows tests skipped: $(MINGW_CXX) or $(WINE) is not installed"; \
	fi

# DESTDIR, when set in the environment, is put before PREFIX (staged installs).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, in build/packages/.
package: build
	cd $(BUILD) && cpack -G DEB

# A zip of the Windows program and its manual as text, in build-win/packages/.
package-win:
	@if command -v $(MINGW_CXX) >/dev/null 2>&1; then \
	  $(WINCONFIG) >/dev/null && \
	  cmake --build $(WINBUILD) -j$(JOBS) --target scrivo scrivo_manual_text && \
	  cd $(WINBUILD) && cpack -G ZIP; \
	else \
	  echo "package-win: $(MINGW_CXX) is not installed"; exit 1; \
	fi

bench: build
	@CORPUS="$(CORPUS)" sh bench/run.sh $(BUILD)

# libFuzzer targets under AddressSanitizer and UndefinedBehaviorSanitizer,
# FUZZ_SECONDS each; skipped (status 0) when clang's fuzzer runtime is
# missing.
fuzz:
	@FUZZ_TARGETS="$(FUZZ_TARGETS)" sh fuzz/run.sh $(FUZZBUILD) $(FUZZ_SECONDS) $(FUZZ_CXX) $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN) $(WINBUILD) $(FUZZBUILD)
