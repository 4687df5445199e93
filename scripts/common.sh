# Shared by scripts/run, scripts/test and .ci/run: install what is missing, configure, build.

PACKAGES=(qt6-base-dev cmake g++ ninja-build libgtest-dev libbenchmark-dev clang-format)
# Only .ci/run needs these: the clang build and clang-tidy.
CI_PACKAGES=(clang-14 clang-tidy-14)

# ensure_packages [PACKAGE...]: PACKAGES when none are named.
ensure_packages() {
    local wanted=("$@") missing=()
    [ $# -eq 0 ] && wanted=("${PACKAGES[@]}")
    for pkg in "${wanted[@]}"; do
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
