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

# What building the program and its hook library needs.
BUILD_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libxcb1-dev libxcb-xinput-dev libxcb-xtest0-dev
  libudev1 libudev-dev libgtest-dev fonts-liberation2 fonts-wqy-microhei
)

# configure_and_build DIR [cmake args...]: configures and builds everything.
configure_and_build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$ROOT/$dir" -j"$(nproc)"
}
