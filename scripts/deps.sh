# Sourced by run.sh and test.sh: installs, on Debian 12, whatever the build, the program and the tests need.
NUPO_PACKAGES=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-tools-dev libqt6opengl6-dev qt6-qpa-plugins qt6-pdf-dev qt6-image-formats-plugins
  libgl1-mesa-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libfreetype-dev fonts-liberation2
  libasound2-dev librtmidi-dev libfluidsynth-dev timgm6mb-soundfont libjack-jackd2-dev jackd2
  libmpv-dev ffmpeg liblo-dev
  libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
  xvfb xauth procps binutils
)

nupo_install_deps() {
  local missing=()
  local pkg
  for pkg in "${NUPO_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

nupo_configure_and_build() {
  local build_dir="$1"
  shift
  cmake -S . -B "$build_dir" -G Ninja "$@"
  cmake --build "$build_dir" -j "$(nproc)"
}
