#!/usr/bin/env bash
# Builds the web page into build-web/page (or the folder given): the library
# compiled to WebAssembly by Debian's emscripten, without cairo, and the
# page's files beside it. Open build-web/page/index.html in a browser.
# Rebuilds incrementally; ccache is used when it is installed.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-web}"
# Debian's emcc runs its JavaScript tools with the Node.js modules of
# Debian's packages (acorn among them), wherever node comes from.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
emcmake cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPOLARSKETCH_WITH_CAIRO=OFF \
  -DPOLARSKETCH_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target polarsketch_page
echo "web page: $build/page/index.html"
