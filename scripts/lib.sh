# Shared by scripts/run and scripts/test: Debian packages and the build folders.
set -euo pipefail

TESSALY_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Paths below the tree are hashed relative to it, so another checkout reuses the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$TESSALY_ROOT}"

BUILD_PACKAGES=(cmake g++ make qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite
                qcoro-qt6-dev libgtest-dev libbenchmark-dev clang-format
                xvfb xauth xdotool poppler-utils fonts-wqy-microhei
                desktop-file-utils appstream qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
                ser2net)

# Installs the packages that are missing; silent and quick when all are there.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Run as root (or install these packages first)." >&2
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    local log
    log="$(mktemp)"
    if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; } \
        >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
}

# Configures (once) and builds the folder $1 with the extra CMake arguments that follow; after
# a `--`, only the targets named there are built.
build_tree() {
    local dir="$1"
    shift
    local targets=()
    local options=()
    while [ $# -gt 0 ]; do
        if [ "$1" = -- ]; then
            shift
            targets=(--target "$@")
            break
        fi
        options+=("$1")
        shift
    done
    set -- "${options[@]}"
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        # ccache, where installed, lets several checkouts of the tree share their objects.
        local launcher=()
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake -S "$TESSALY_ROOT" -B "$dir" "${launcher[@]}" "$@" >/dev/null
    fi
    if ! cmake --build "$dir" -j"$(nproc)" "${targets[@]}" >"$dir/build.log" 2>&1; then
        grep -E -A5 'error|Error' "$dir/build.log" | head -80
        echo "Build failed; the whole log is $dir/build.log" >&2
        return 1
    fi
}
