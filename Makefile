# Velmora: make run | make test | make bench | make sanitize | make install | make deb
JOBS ?= $(shell nproc)
SAMPLE ?= resources/samples/sample.sgf
PREFIX ?= /usr/local

.PHONY: all deps build run test bench sanitize fuzz install deb clean

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

# Installs the editor, velmora-cli, the program folder (PREFIX/share/velmora), the desktop entry,
# the record type and the icons under PREFIX (DESTDIR is honoured for staged installs).
install: deps
	cmake -S . -B build-install -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$(PREFIX)" >/dev/null
	cmake --build build-install -j $(JOBS)
	cmake --install build-install
	@if [ -z "$(DESTDIR)" ]; then \
		command -v update-mime-database >/dev/null && update-mime-database "$(PREFIX)/share/mime" || true; \
		command -v update-desktop-database >/dev/null && update-desktop-database "$(PREFIX)/share/applications" || true; \
	fi

# The Debian package, with its library dependencies from dpkg-shlibdeps.
deb: deps
	cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build-deb -j $(JOBS)
	cd build-deb && cpack -G DEB
	@ls build-deb/velmora_*.deb

# The tests under address and undefined-behaviour sanitizers, leaks included: fuzz/leaks.supp
# holds only fontconfig's caches, which it keeps until exit.
sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORA_TESTS=ON -DVELMORA_SANITIZE=ON >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS='suppressions="$(CURDIR)/fuzz/leaks.supp":print_suppressions=0' \
		ctest --output-on-failure -j $(JOBS)

fuzz:
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON >/dev/null
	cmake --build build-fuzz -j $(JOBS)

clean:
	rm -rf build build-test build-bench build-asan build-fuzz build-install build-deb
