#!/usr/bin/env bash
# The browser tests: builds the web page (web/build.sh, incrementally) into
# the folder given and runs page_test.js on it in headless Chromium.
# Skipped (exit 77) when emcc, Chromium, Node.js or the npm packages are
# missing, unless CI=true, where anything missing is a failure.
set -uo pipefail
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:?usage: run.sh BUILD_FOLDER}"
chromium="${POLARSKETCH_CHROMIUM:-/usr/bin/chromium}"

missing() {
  if [ "${CI:-}" = "true" ]; then
    echo "browser tests: $1 (CI: a failure)" >&2
    exit 1
  fi
  echo "browser tests skipped: $1" >&2
  exit 77
}
command -v emcmake >/dev/null || missing "emscripten is not installed (apt-get install emscripten)"
command -v node >/dev/null || missing "node is not installed"
[ -x "$chromium" ] || missing "no browser at $chromium (apt-get install chromium)"
[ -d "$source_dir/node_modules/playwright-core" ] ||
  missing "the npm packages are not installed (run 'npm ci' at the top of the sources)"

"$source_dir/web/build.sh" "$build" || { echo "browser tests: the web page did not build" >&2; exit 1; }
export POLARSKETCH_PAGE="$build/page/index.html" POLARSKETCH_CHROMIUM="$chromium"
export POLARSKETCH_EXAMPLES="$source_dir/examples"
exec node --test "$source_dir/tests/browser/page_test.js"
