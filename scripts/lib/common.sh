# Shared by scripts/run and scripts/test: package installation and building.

repo_root() { cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd; }

# Installs the Debian packages that are missing (apt-get update first), and
# nothing when all are there.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building the program and its hook library needs; lrelease and Qt's own
# translations for the window's languages.
BUILD_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libxcb1-dev libxcb-xinput-dev libxcb-xtest0-dev libxcb-xkb-dev
  libxkbcommon-dev libxkbcommon-x11-dev xkb-data
  libudev1 libudev-dev libgtest-dev nlohmann-json3-dev fonts-liberation2 fonts-wqy-microhei
  qt6-l10n-tools qt6-translations-l10n
)

# What building for Windows needs: the mingw-w64 cross compilers (posix
# threads), GoogleTest's sources (built with them for the tests), Qt's host
# tools (moc, rcc, uic for the Windows Qt built from Debian's qtbase source,
# scripts/lib/qt-mingw.sh), nlohmann-json (header-only, used as it is),
# rsvg-convert with ImageMagick for the program's icon, and the host's
# lrelease with Qt's own translations for the window's languages.
WINDOWS_BUILD_PACKAGES=(
  cmake ninja-build g++-mingw-w64-x86-64-posix googletest qt6-base-dev-tools nlohmann-json3-dev imagemagick
  librsvg2-bin qt6-l10n-tools qt6-translations-l10n
)
# What running the Windows tests needs: wine, and for the tests of the hook
# and the real programs Xvfb, xdotool, the X libraries wine's X11 driver loads,
# ImageMagick's import for screenshots, a Chinese font for wine and the
# window's fonts for its offscreen tests; umockdev and the host compiler with
# GoogleTest for the host program that puts fake pedals under wine's HID stack.
WINDOWS_TEST_PACKAGES=(
  wine64 xvfb xauth x11-utils xdotool imagemagick fonts-wqy-microhei fonts-liberation2
  umockdev libumockdev-dev libgtest-dev g++ pkg-config
  libx11-6 libxext6 libxrender1 libxrandr2 libxi6 libxfixes3 libxcursor1 libxinerama1 libxcomposite1
)

# configure_windows DIR [cmake args...]: configures the Windows build tree,
# cross-compiled with cmake/mingw-w64.cmake against the Qt for Windows of
# scripts/lib/qt-mingw.sh (built once into a cache when it is missing).
configure_windows() {
  local dir=$1; shift
  # shellcheck source=qt-mingw.sh
  source "$ROOT/scripts/lib/qt-mingw.sh"
  ensure_qt_mingw
  "$QT_MINGW_PREFIX/bin/qt-cmake" -S "$ROOT" -B "$ROOT/$dir" -G Ninja \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DVARNOK_BUILD_APP=ON "$@" >/dev/null
}

# configure_and_build DIR [cmake args...]: configures and builds everything.
configure_and_build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$ROOT/$dir" -j"$(nproc)"
}
