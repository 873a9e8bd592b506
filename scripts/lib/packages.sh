# Installs the Debian packages that are missing, when run as root; otherwise names them.
# usage: ensure_packages pkg...
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them with: sudo apt-get install ${missing[*]}" >&2
        return 1
    fi
    echo "Installing ${missing[*]}" >&2
    if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >/dev/null; then
        apt-get update -q >/dev/null
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >/dev/null
    fi
}

# What building and testing Precivox needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libmariadb-dev libasio-dev
    googletest libgtest-dev)
TEST_PACKAGES=(mariadb-server mariadb-client iproute2 util-linux)
# The fuzz targets: clang, and libFuzzer with clang's sanitizer run-times.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
