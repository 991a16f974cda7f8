# Sourced by the scripts: installs, on Debian 12, whatever the build, the program and the tests need.
NUPO_PACKAGES=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-tools-dev libqt6opengl6-dev qt6-qpa-plugins qt6-pdf-dev qt6-image-formats-plugins
  libgl1-mesa-dev libglu1-mesa-dev libegl-dev libx11-dev libxcb1-dev libgl1-mesa-dri libfreetype-dev fonts-liberation2
  libasound2-dev librtmidi-dev libfluidsynth-dev timgm6mb-soundfont libjack-jackd2-dev jackd2
  libmpv-dev ffmpeg liblo-dev pulseaudio pulseaudio-utils
  libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
  xvfb xauth procps binutils
)

# clang with its runtimes (sanitizers, libFuzzer) and llvm-symbolizer for readable reports: for
# scripts/sanitize.sh and scripts/fuzz.sh only.
NUPO_CLANG_PACKAGES=(clang-14 libclang-rt-14-dev llvm-14)

# nupo_install_packages package...: installs those not installed yet.
nupo_install_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
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

nupo_install_deps() {
  nupo_install_packages "${NUPO_PACKAGES[@]}"
}

nupo_install_clang() {
  nupo_install_packages "${NUPO_CLANG_PACKAGES[@]}"
  export CC=clang-14 CXX=clang++-14
  export PATH="/usr/lib/llvm-14/bin:$PATH"  # llvm-symbolizer
}

# Parallel jobs of the build and of ctest: NUPO_JOBS, else one per core this shell may run on. nproc
# also obeys OpenMP's thread limits, which the ThreadSanitizer run sets for FluidSynth's threads alone:
# they must not make the whole suite run one test at a time.
nupo_jobs() {
  echo "${NUPO_JOBS:-$(env -u OMP_NUM_THREADS -u OMP_THREAD_LIMIT nproc)}"
}

# The compiler cache keys paths inside the tree relative to it, so that a clone or work tree in another
# folder (as CI's is) finds what an earlier build of the same sources left in the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd -P)}"
export CCACHE_NOHASHDIR=1

nupo_configure_and_build() {
  local build_dir="$1"
  shift
  cmake -S . -B "$build_dir" -G Ninja "$@"
  cmake --build "$build_dir" -j "$(nupo_jobs)"
}

# nupo_run_suite build_dir [ctest args...]: starts a JACK dummy server for the MIDI tests, runs ctest
# under a virtual X display and stops the server again.
#
# MIDI tests talk to real ports through a JACK server with its dummy driver (no sound card needed). The
# server gets a name of its own, given to the MIDI tests only (other tests and parallel runs on the same
# machine stay off it); the MIDI tests fail rather than skip when it is not reachable. A long period
# (43 ms) keeps the server's clients in time while every core runs tests, so that no message is dropped.
# JACK keeps at most eight servers in its registry and frees an entry left by a killed server only for a
# server of the same name (scripts/jack.sh), so the name is one per build folder.
nupo_run_suite() {
  local build_dir="$1"
  shift
  export JACK_NO_AUDIO_RESERVATION=1
  export JACK_NO_START_SERVER=1
  NUPO_TEST_JACK_SERVER="nupo-test-$(realpath "$build_dir" | md5sum | cut -c1-8)"
  export NUPO_TEST_JACK_SERVER
  export NUPO_REQUIRE_JACK=1
  source scripts/jack.sh
  nupo_reclaim_dead_jack_servers
  jackd -n "$NUPO_TEST_JACK_SERVER" --no-realtime -d dummy -r 48000 -p 2048 >"$build_dir/jackd.log" 2>&1 &
  local jack_pid=$!
  if ! jack_wait -s "$NUPO_TEST_JACK_SERVER" -w -t 30 >/dev/null 2>&1; then
    echo "The JACK dummy server did not start; see $build_dir/jackd.log" >&2
    kill "$jack_pid" 2>/dev/null || true
    return 1
  fi
  local display
  if ! display=$(nupo_start_virtual_display "$build_dir"); then
    kill "$jack_pid" 2>/dev/null || true
    return 1
  fi
  local status=0
  DISPLAY="$display" ctest --test-dir "$build_dir" --output-on-failure -j "$(nupo_jobs)" "$@" || status=$?
  kill "$jack_pid" "$(cat "$build_dir/xvfb.pid")" 2>/dev/null || true
  wait "$jack_pid" 2>/dev/null || true
  return "$status"
}

# nupo_start_virtual_display build_dir: starts an X server of 1920 x 1200 (or the size NUPO_SCREEN
# gives, e.g. NUPO_SCREEN=1024x768) in the background and prints its display name once it accepts
# connections; its process id goes to build_dir/xvfb.pid. The server picks a free display number itself
# (-displayfd), so suites started at once on one machine never share or fight over a display. It never
# resets (-noreset): an X server resets itself whenever its last client leaves, and refuses or drops
# connections meanwhile; a test starting just then could not connect to the display and ended. On a
# loaded machine the reset takes long enough for that to happen in most runs of the window tests.
nupo_start_virtual_display() {
  local build_dir="$1"
  local number_file="$build_dir/xvfb.display"
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 "${NUPO_SCREEN:-1920x1200}x24" -nolisten tcp -noreset 3>"$number_file" >"$build_dir/xvfb.log" 2>&1 &
  echo $! >"$build_dir/xvfb.pid"
  local tries
  for tries in $(seq 300); do
    if [ -s "$number_file" ]; then
      echo ":$(head -n 1 "$number_file")"
      return 0
    fi
    kill -0 "$(cat "$build_dir/xvfb.pid")" 2>/dev/null || break
    sleep 0.1
  done
  echo "The virtual X display did not start; see $build_dir/xvfb.log" >&2
  kill "$(cat "$build_dir/xvfb.pid")" 2>/dev/null || true
  return 1
}
