# The two commands of the README: `make run` and `make test`. Both install what is missing first.
JOBS ?= $(shell nproc)
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
RELEASE := build/release
TESTDIR := build/test
FUZZDIR := build/fuzz
# `make fuzz` runs every fuzz target until stopped; FUZZ_SECONDS=600 bounds each target's run and
# FUZZ_PARALLEL sets how many run at once (make test gives each a short run, all cores at a time).
FUZZ_SECONDS ?= 0
FUZZ_PARALLEL ?= $(JOBS)
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

.PHONY: all deps run build test playthrough soak soak-saves bench fuzz contact-sheet clean

all: build

deps:
	@bash scripts/install-deps.sh

$(RELEASE)/CMakeCache.txt: | deps
	cmake -S . -B $(RELEASE) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISK_TESTS=OFF

build: deps $(RELEASE)/CMakeCache.txt
	cmake --build $(RELEASE) -j $(JOBS)

run: build
	cd $(RELEASE) && ./brallwick

$(TESTDIR)/CMakeCache.txt: | deps
	cmake -S . -B $(TESTDIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DBRISK_SANITIZE=ON -DBRISK_TESTS=ON

test: deps $(TESTDIR)/CMakeCache.txt
	cmake --build $(TESTDIR) -j $(JOBS)
	@bash scripts/run-fuzz.sh $(FUZZDIR) 20 $(JOBS)
	cd $(TESTDIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) --timeout 600

# The whole game played once per ending by the test player (make test plays one ending).
playthrough: deps $(TESTDIR)/CMakeCache.txt
	cmake --build $(TESTDIR) -j $(JOBS)
	cd $(TESTDIR) && $(SANITIZER_ENV) BRISK_EVERY_ENDING=1 ctest --output-on-failure -j $(JOBS) -R 'WholeGame' --timeout 3600

# The long random-input run over every screen (the sanitizer build); BRALLWICK_SOAK_SEED replays a run.
# It fails when a kind of screen or an act of the story was never reached.
soak: deps $(TESTDIR)/CMakeCache.txt
	cmake --build $(TESTDIR) -j $(JOBS) --target test_e2e
	cd $(TESTDIR) && $(SANITIZER_ENV) BRALLWICK_SOAK_EVERY_SCREEN=1 BRALLWICK_SOAK_FRAMES=$${BRALLWICK_SOAK_FRAMES:-100000} \
		BRALLWICK_SOAK_SEED=$${BRALLWICK_SOAK_SEED:-$$(( $$(date +%s%N) % 1000000 ))} \
		./tests/test_e2e --gtest_filter='Soak.*'

# The soak's starting points written afresh by one playthrough (after a change to the story): a
# save just before each kind of screen first opens and before each act's card.
soak-saves: deps $(TESTDIR)/CMakeCache.txt
	cmake --build $(TESTDIR) -j $(JOBS) --target test_e2e
	rm -rf tests/e2e/soak_saves
	cd $(TESTDIR) && $(SANITIZER_ENV) SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
		BRALLWICK_SOAK_SAVES=$(CURDIR)/tests/e2e/soak_saves ./tests/test_e2e --gtest_filter='WholeGame/Endings.*/independent'

bench: deps
	cmake -S . -B build/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBRISK_TESTS=OFF -DBRISK_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	@bash scripts/run-bench.sh build/bench

fuzz: deps
	@bash scripts/run-fuzz.sh $(FUZZDIR) $(FUZZ_SECONDS) $(FUZZ_PARALLEL)

contact-sheet: build
	cmake --build $(RELEASE) --target contact_sheet

clean:
	rm -rf build
