# Shared by the packaging tests (sourced). Each test runs under CTest with the
# VARNOK_* variables that packaging/CMakeLists.txt sets; exit 77 = skipped.

set -euo pipefail

: "${VARNOK_SOURCE_DIR:?run this test through ctest}"
: "${VARNOK_BUILD_DIR:?run this test through ctest}"
: "${VARNOK_PACKAGING_DIR:?run this test through ctest}"

TEST_NAME=$(basename -- "$0" .sh)
failures=0
PIDS_TO_KILL=()
WORK=$(mktemp -d "${TMPDIR:-/tmp}/varnok-pkg-$TEST_NAME.XXXXXX")

cleanup() {
  local pid
  for pid in "${PIDS_TO_KILL[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
  done
  rm -rf -- "$WORK"
}
trap cleanup EXIT

note() { echo "[$TEST_NAME] $*"; }
fail() { echo "[$TEST_NAME] FAIL: $*" >&2; failures=$((failures + 1)); }
skip() { echo "[$TEST_NAME] SKIP: $*"; exit 77; }
check() { # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then note "ok: $what"; else fail "$what"; fi
}
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "[$TEST_NAME] $failures check(s) failed" >&2
    exit 1
  fi
  note "all checks passed"
  exit 0
}
need() { # need TOOL [PACKAGE]: skip when a tool is missing
  command -v "$1" >/dev/null 2>&1 || skip "$1 is not installed (Debian package ${2:-$1})"
}

# make_build_copy DIR: a copy of the build folder's install scripts, CPack
# configuration and the installed files' sources, with the build folder's path
# replaced by DIR, so installing and packaging write their manifests and
# staging trees into DIR and leave the build folder as it was.
make_build_copy() {
  local copy=$1 build
  build=$VARNOK_BUILD_DIR
  mkdir -p "$copy"
  (cd "$build" && find . \( -name cmake_install.cmake -o -name 'CPack*Config.cmake' \) \
     -exec cp --parents -p {} "$copy"/ \;)
  # The targets' files and the packaging folder's generated files.
  (cd "$build" && cp -a bin packaging "$copy"/)
  find "$copy" -name '*.cmake' -print0 |
    xargs -0 sed -i -e "s|$build/|$copy/|g" -e "s|$build\"|$copy\"|g" -e "s|$build;|$copy;|g"
  if grep -rlF --include='*.cmake' -e "$build" "$copy" >/dev/null; then
    fail "the build copy still refers to $build"
    return 1
  fi
}

# The application id: the name of the desktop entry, the icon and the metainfo.
APP_ID=${VARNOK_APP_ID:-org.varnok.Setup}
