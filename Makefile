# Velmora: make run | make test | make bench | make sanitize
JOBS ?= $(shell nproc)
SAMPLE ?= resources/samples/sample.sgf

.PHONY: all deps build run test bench sanitize fuzz clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build -j $(JOBS)

# Starts the editor on the sample record; with no display, renders the main window to a picture.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		build/bin/velmora "$(CURDIR)/$(SAMPLE)"; \
	else \
		QT_QPA_PLATFORM=offscreen build/bin/velmora --screenshot "$(CURDIR)/build/velmora.png" "$(CURDIR)/$(SAMPLE)" && \
		echo "No display: the main window was rendered to build/velmora.png"; \
	fi

test: deps
	cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_TESTS=ON >/dev/null
	cmake --build build-test -j $(JOBS)
	cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVELMORA_BENCH=ON >/dev/null
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bin/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

# The tests under address and undefined-behaviour sanitizers.
sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORA_TESTS=ON -DVELMORA_SANITIZE=ON >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

fuzz:
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON >/dev/null
	cmake --build build-fuzz -j $(JOBS)

clean:
	rm -rf build build-test build-bench build-asan build-fuzz
