# Shared by scripts/run, scripts/test and scripts/bench. Sourced, not run.
set -euo pipefail

WORDLUMEN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="${WORDLUMEN_BUILD_DIR:-$WORDLUMEN_ROOT/build}"

# Build and run-time packages (Debian/Ubuntu names). The QML modules are
# separate packages: without them the build succeeds and imports fail at run
# time. Their list is shared with the Debian package's dependencies. The
# history's SQLite driver is a plugin too (libqt6sql6-sqlite).
mapfile -t QML_PACKAGES < <(grep -v '^#' "$WORDLUMEN_ROOT/cmake/qml-runtime-packages.txt")
RUNTIME_PACKAGES=(
    cmake g++ ccache pkg-config
    qt6-base-dev qt6-declarative-dev qt6-svg-dev libqt6svg6
    libqt6sql6-sqlite
    "${QML_PACKAGES[@]}"
    qtkeychain-qt6-dev libsecret-1-dev gnome-keyring
    libxcb1-dev libxcb-xfixes0-dev libxcb-shape0-dev fonts-noto-cjk libgl1-mesa-dri
    librsvg2-bin
    libbenchmark-dev
)
# What the headless suite needs on top: a display server, input, selection and
# screen tools, a session bus, a real Secret Service for the keyring tests, the
# Unicode data the case-folding table is checked against, the accessibility
# bus and the Python bindings the screen-reader test reads it with, and the
# Debian tools and validators the package check runs.
TEST_PACKAGES=(
    qml6-module-qttest xvfb xauth xdotool xclip x11-utils imagemagick trayer openbox wmctrl
    xcompmgr
    dbus dbus-user-session gnome-keyring
    at-spi2-core python3-pyatspi
    unicode-data
    dpkg-dev file desktop-file-utils appstream
)
# What scripts/package needs on top of the build: dpkg-shlibdeps computes the
# package's library dependencies.
PACKAGE_PACKAGES=(dpkg-dev)
# What scripts/fuzz needs on top of the build packages: clang with libFuzzer
# and the sanitizer runtimes, and llvm-symbolizer for readable reports.
FUZZ_PACKAGES=(
    clang llvm libclang-rt-dev
)

log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

# Installs whatever of the given packages is missing; does nothing when all are there.
install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    if ! command -v apt-get >/dev/null 2>&1; then
        log "Missing packages (${missing[*]}) and no apt-get: install them by hand."
        return 1
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    log "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Lucide icons come from the npm registry, pinned by package-lock.json.
install_icons() {
    if [ ! -f "$WORDLUMEN_ROOT/package.json" ]; then
        return 0
    fi
    # Any npm will do (a Node.js from elsewhere often brings its own, and
    # Debian's npm package conflicts with it); install Debian's only when none.
    if ! command -v npm >/dev/null 2>&1; then
        install_packages npm
    fi
    if [ -d "$WORDLUMEN_ROOT/node_modules/lucide-static" ] &&
        [ "$WORDLUMEN_ROOT/node_modules/.package-lock.json" -nt "$WORDLUMEN_ROOT/package-lock.json" ]; then
        return 0
    fi
    log "Installing icons (npm ci)"
    (cd "$WORDLUMEN_ROOT" && npm ci --no-audit --no-fund --loglevel=error)
}

# Configures $BUILD_DIR; extra CMake arguments pass through.
configure() {
    export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
    # Paths relative to the checkout, so every clone shares the cache.
    export CCACHE_BASEDIR="$WORDLUMEN_ROOT"
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    log "Configuring $BUILD_DIR"
    cmake -S "$WORDLUMEN_ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" >/dev/null
}

# Builds the given targets of $BUILD_DIR, or all of them.
build() {
    local targets=()
    if [ $# -gt 0 ]; then
        targets=(--target "$@")
    fi
    log "Building"
    cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${targets[@]}"
}

# Configures and builds everything into $BUILD_DIR; extra CMake arguments pass through.
configure_and_build() {
    configure "$@"
    build
}
