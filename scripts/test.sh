#!/usr/bin/env bash
# Builds and runs every test twice: with warnings as errors, then under
# AddressSanitizer and UndefinedBehaviorSanitizer. Then the serial component's and the
# integration tests once more under ThreadSanitizer (which cannot share a build with
# AddressSanitizer).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
bash scripts/check-layers.sh
# Every text of the programs is in the English catalogue, and translated.
bash scripts/translations.sh check

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

for preset in default asan; do
  echo "== build and test: $preset"
  cmake --preset "$preset" "${launcher[@]}" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# The tsan presets build only the tests they run and run only the serial and integration
# labels, with TSAN_OPTIONS set in the test preset (tests/tsan.supp, halt_on_error=1).
echo "== build and test: tsan"
cmake --preset tsan "${launcher[@]}" >/dev/null
cmake --build --preset tsan
ctest --preset tsan

# The Debian package: built, validated, and installed into a bare Debian 12.
echo "== package"
bash scripts/check-package.sh
