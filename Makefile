# Thin entry points over CMake presets; see README.md.
.PHONY: deps build test test-core test-asan run bench package format clean

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
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then build/default/src/app/penmoji; \
	else echo "No display (DISPLAY and WAYLAND_DISPLAY are unset), so the editor cannot start."; \
	echo "Rendering examples/face.pmj with penmoji-render instead:"; echo; \
	build/default/src/cli/penmoji-render --encoding utf-8 examples/face.pmj; fi

bench: build
	build/default/bench/penmoji_bench
	build/default/bench/penmoji_live_bench

# The Debian package, built by dpkg-buildpackage from debian/ in a copy of the tree and checked
# with lintian: build/package/penmoji_<version>_<arch>.deb. The test suite is left out of that
# build, as `make test` runs it; `make package DEB_BUILD_OPTIONS=` runs it there too.
DEB_BUILD_OPTIONS ?= nocheck
package: deps
	DEB_BUILD_OPTIONS="$(DEB_BUILD_OPTIONS)" tools/build-debian-package.sh build/package
	@ls build/package/penmoji_*.deb

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
