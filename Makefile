# The two commands: `make run` builds and starts the game, `make test` builds and runs the tests.
# Both install what they need from Debian first.
JOBS ?= 2

.PHONY: run test build bench deps format clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVEXLAN_TESTS=OFF \
		-DVEXLAN_GAME_OUTPUT=$(CURDIR)/build/game >/dev/null
	cmake --build build/release -j$(JOBS)

run: build
	cd build/game && ./vexlan

test: build
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DVEXLAN_SANITIZE=ON \
		-DVEXLAN_GAME_DIR=$(CURDIR)/build/game >/dev/null
	cmake --build build/test -j$(JOBS)
	ctest --test-dir build/test --output-on-failure -j$(JOBS)

bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVEXLAN_TESTS=OFF -DVEXLAN_BENCH=ON >/dev/null
	cmake --build build/bench -j$(JOBS)
	build/bench/bench/vexlan_bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
