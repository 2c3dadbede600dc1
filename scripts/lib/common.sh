# Shared by scripts/run and scripts/test: installs what the build needs and builds.
# Sourced, not run.

KROMEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
KROMEL_BUILD="${KROMEL_BUILD:-$KROMEL_ROOT/build}"

# poppler-utils renders printed PDF pages for the printing test; 64tass and cc65 assemble
# the assembler-source exports in their tests.
kromel_build_packages=(qt6-base-dev qt6-svg-dev zlib1g-dev cmake ninja-build g++ ccache libbenchmark-dev fonts-dejavu-core poppler-utils acme 64tass cc65 desktop-file-utils appstream dpkg-dev file)

# Installs the given Debian packages that are not installed yet.
kromel_ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "kromel: these packages are missing and I am not root: ${missing[*]}" >&2
            return 1
        fi
    fi
    echo "kromel: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}

kromel_build() {
    if [ ! -f "$KROMEL_BUILD/build.ninja" ]; then
        cmake -S "$KROMEL_ROOT" -B "$KROMEL_BUILD" -G Ninja "$@" || return 1
    fi
    cmake --build "$KROMEL_BUILD" || return 1
}
