# The two newcomer commands (make run, make test) and a few developer targets.
BUILD ?= build
JOBS ?= $(shell nproc)
SAMPLE ?= samples/room_sample.OLE

.PHONY: deps configure build run test package demo fuzz bench clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORDIVAN_WERROR=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./ordivan $(SAMPLE)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The Debian package ordivan_<version>_amd64.deb, left in this folder: a Release build hardened with
# Debian's build flags in build-release/ (scripts/package; LINT=1 also runs lintian on it).
package: deps
	JOBS=$(JOBS) scripts/package $(if $(LINT),--lint)

demo: build
	cd $(BUILD) && for f in samples/*.OLE; do echo "== $$f"; ./ordivan-cli validate "$$f"; done
	mkdir -p $(BUILD)/demo && cd $(BUILD) && ./ordivan-cli calc samples/room_sample.OLE --json - \
		--png demo/room_sample.png --csv demo/room_sample.csv --dxf demo/room_sample.dxf --pdf demo/room_sample.pdf

fuzz: deps
	CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DORDIVAN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS) --target ordivan_fuzzers
	@echo "fuzz targets are in build-fuzz/ (run e.g. build-fuzz/fuzz_project_reader tests/data/corpus_project_reader -max_total_time=60)"

bench: build
	cd $(BUILD) && ./ordivan_bench

clean:
	rm -rf $(BUILD) build-fuzz build-release ordivan_*.deb
