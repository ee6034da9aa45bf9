# The two commands: `make run` builds and starts the game, `make test` builds and runs the tests.
# Both install what they need from Debian first.
JOBS ?= 2
# Our own builds: warnings are errors (a distribution build leaves this out).
DEV_FLAGS = -DVEXLAN_WERROR=ON

.PHONY: run test check build install deb bench fuzz golden stage-report deps test-deps package-deps format clean

# What building and playing need; the tests, fuzzers and benchmarks need more.
deps:
	@scripts/install-deps.sh

test-deps:
	@scripts/install-deps.sh --test

package-deps:
	@scripts/install-deps.sh --package

# The two trees the targets share: Release (the game assembled in build/game/) and the tests'
# sanitizer build, whose real-window tests start that game.
CONFIGURE_RELEASE = cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release $(DEV_FLAGS) \
	-DVEXLAN_TESTS=OFF -DVEXLAN_GAME_OUTPUT=$(CURDIR)/build/game >/dev/null
CONFIGURE_TESTS = cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug $(DEV_FLAGS) -DVEXLAN_SANITIZE=ON \
	-DVEXLAN_GAME_DIR=$(CURDIR)/build/game >/dev/null

build: deps
	$(CONFIGURE_RELEASE)
	cmake --build build/release -j$(JOBS)

run: build
	cd build/game && ./vexlan

# Installs the game under PREFIX as a Linux game (binary in bin/, data in share/vexlan/, menu
# entry, icons, AppStream data, man page); DESTDIR stages it for a package.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# The Debian package, built from a copy of the tracked files in build/deb/ (dpkg-buildpackage
# leaves its results beside the source folder), then checked with lintian.
# The version comes from CMakeLists.txt's project(VERSION), the Debian revision from debian/changelog.
VERSION := $(shell sed -n 's/^project.* VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
DEB_VERSION := $(shell awk 'NR == 1 { gsub(/[()]/, "", $$2); print $$2 }' debian/changelog)
DEB_SOURCE = build/deb/vexlan-$(VERSION)
DEB_FILE = build/deb/vexlan_$(DEB_VERSION)_amd64.deb
deb: package-deps
	rm -rf build/deb && mkdir -p $(DEB_SOURCE)
	git ls-files -z | xargs -0 cp --parents -t $(DEB_SOURCE)
	cd $(DEB_SOURCE) && dpkg-buildpackage -us -uc -b
	lintian --fail-on error $(DEB_FILE)
	@echo "built $(DEB_FILE)"

test: test-deps build
	$(CONFIGURE_TESTS)
	cmake --build build/test -j$(JOBS)
	ctest --test-dir build/test --output-on-failure -j$(JOBS)
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SECONDS)

# The quick loop while working: rebuilds the game and the tests and runs ctest, with no package
# check and no fuzzing. CTEST_ARGS narrows the run, e.g. CTEST_ARGS='-R Profile'.
check:
	$(CONFIGURE_RELEASE)
	cmake --build build/release -j$(JOBS)
	$(CONFIGURE_TESTS)
	cmake --build build/test -j$(JOBS)
	ctest --test-dir build/test --output-on-failure -j$(JOBS) $(CTEST_ARGS)

bench: test-deps build
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release $(DEV_FLAGS) -DVEXLAN_TESTS=OFF -DVEXLAN_BENCH=ON >/dev/null
	cmake --build build/bench -j$(JOBS)
	build/bench/bench/vexlan_bench
	build/bench/bench/vexlan_music_bench
	bench/mix_headroom.sh build/game 60
	bench/music_gaps.sh build/game 95
	bench/present_table.sh build/game

# Records the golden runs again, after a deliberate change of the game's behaviour.
golden: test-deps build
	$(CONFIGURE_TESTS)
	cmake --build build/test -j$(JOBS) --target golden_record
	tests/golden/record.sh $(CURDIR) build/test/tests/golden_record

# How each difficulty's stage plays: the test bot and an idle ship over STAGE_SEEDS seeds.
STAGE_SEEDS ?= 10
stage-report: build
	cmake --build build/release -j$(JOBS) --target stage_report
	build/release/stage_report assets --seeds $(STAGE_SEEDS)

# Each fuzz target runs FUZZ_SECONDS from its seed corpus (our own data files); a crash fails.
FUZZ_SECONDS ?= 60
fuzz: test-deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo $(DEV_FLAGS) \
		-DVEXLAN_SANITIZE=ON -DVEXLAN_TESTS=OFF -DVEXLAN_FUZZ=ON >/dev/null
	cmake --build build/fuzz -j$(JOBS) --target stage_fuzz profile_fuzz bitmap_fuzz replay_fuzz
	scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
