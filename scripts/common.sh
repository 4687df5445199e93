# Shared by scripts/run, scripts/test and .ci/run: install what is missing, configure, build.

PACKAGES=(qt6-base-dev cmake g++ ninja-build libgtest-dev libbenchmark-dev clang-format)

ensure_packages() {
    local missing=()
    for pkg in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# build_tree FOLDER [cmake options...]
build_tree() {
    local folder=$1
    shift
    cmake -S "$ROOT" -B "$folder" -G Ninja "$@"
    cmake --build "$folder"
}
