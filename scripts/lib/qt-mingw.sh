# Qt 6 for Windows (mingw-w64, static), built from Debian's own qtbase source
# and cached outside the checkout. Sourced by scripts that build for Windows.
#
#   ensure_qt_mingw     makes the cache when it is missing; sets QT_MINGW_PREFIX
#
# The cache key is the Qt version and a hash of the configure options, so a
# change of options builds a new tree beside the old one.

QT_MINGW_VERSION=6.4.2
QT_MINGW_OPTIONS=(
  -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
  # Debian's source has no src/3rdparty/wintab.
  -DFEATURE_tabletevent=OFF
  # With OpenGL off, 6.4.2's Windows plugin still compiles its dynamic-GL check.
  -DFEATURE_dynamicgl=OFF
  # Without Direct2D, Gui leaves out the DirectWrite font database that the
  # plugin's directwrite3 engine would construct.
  -DFEATURE_directwrite3=OFF
  -DFEATURE_direct2d=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
  -DFEATURE_sql_sqlite=OFF
)

qt_mingw_prefix() {
  local hash
  hash=$(printf '%s\n' "$QT_MINGW_VERSION" "${QT_MINGW_OPTIONS[@]}" "$(x86_64-w64-mingw32-g++-posix --version | head -n 1)" |
    sha256sum | cut -c1-12)
  echo "${VARNOK_QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/varnok-qt-mingw}/$QT_MINGW_VERSION-$hash"
}

# Fetches qtbase's source through a private apt configuration (a deb-src
# entry for the system's own archive), without touching the system's sources.
qt_mingw_fetch_source() {
  local work=$1 apt
  apt="$work/apt"
  mkdir -p "$apt/sources.d" "$apt/lists/partial" "$apt/cache/archives/partial"
  local src
  for src in /etc/apt/sources.list.d/*.sources; do
    [ -f "$src" ] && sed 's/^Types:.*/Types: deb-src/' "$src" >>"$apt/sources.d/src.sources" && echo >>"$apt/sources.d/src.sources"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt/sources.d/src.list"
  fi
  local opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/sources.d"
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
  apt-get "${opts[@]}" update -qq
  (cd "$work" && apt-get "${opts[@]}" source --download-only qt6-base >/dev/null)
  local orig
  orig=$(ls "$work"/qt6-base_"$QT_MINGW_VERSION"*.orig.tar.* | head -n 1)
  [ -n "$orig" ] || { echo "qtbase $QT_MINGW_VERSION source not found" >&2; return 1; }
  mkdir -p "$work/src"
  tar -C "$work/src" --strip-components=1 -xf "$orig"
}

# Configures, builds and installs qtbase from the source in $1/src.
qt_mingw_build() {
  local work=$1
  cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$QT_MINGW_PREFIX" \
    "${QT_MINGW_OPTIONS[@]}" >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log" >&2; return 1; }
  cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 ||
    { grep -m 20 -B 2 -A 10 'error' "$work/build.log" >&2 || tail -n 40 "$work/build.log" >&2; return 1; }
  rm -rf "$QT_MINGW_PREFIX"
  cmake --install "$work/build" >/dev/null
  touch "$QT_MINGW_PREFIX/.complete"
}

ensure_qt_mingw() {
  QT_MINGW_PREFIX=$(qt_mingw_prefix)
  [ -f "$QT_MINGW_PREFIX/.complete" ] && return 0
  echo "== Qt $QT_MINGW_VERSION for Windows is not cached: building it once into $QT_MINGW_PREFIX"
  echo "   (usually about 25 minutes on 2 cores; later runs reuse it)"
  local work started=$SECONDS rc=0
  work=$(mktemp -d "${TMPDIR:-/tmp}/varnok-qt-mingw.XXXXXX")
  qt_mingw_fetch_source "$work" && qt_mingw_build "$work" || rc=1
  rm -rf "$work"
  [ $rc -eq 0 ] || { echo "== building Qt for Windows failed" >&2; return 1; }
  echo "== Qt for Windows built in $(( (SECONDS - started) / 60 )) min"
}
