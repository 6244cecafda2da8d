# Thin entry points over CMake presets; see README.md.
.PHONY: deps build test test-core test-asan run bench format clean

deps:
	@tools/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

# Every test, then every test again under AddressSanitizer and UBSan.
test: build
	ctest --preset default
	$(MAKE) --no-print-directory test-asan

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The core alone, configured without Qt.
test-core: deps
	cmake --preset core
	cmake --build --preset core
	ctest --preset core

run: build
	@if [ -x build/default/src/app/penmoji ]; then build/default/src/app/penmoji; \
	else echo "The editor is not part of this build yet; the core library and its tests are."; fi

bench: build
	build/default/bench/penmoji_bench

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
