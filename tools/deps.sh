# Installs the Debian packages a command needs, and only those that are missing, so
# a second run installs nothing. Sourced by ./play and ./check.

# What building and running the game needs.
# Mesa's DRI modules hold the software renderer a machine without a GPU draws with.
JOGO_BUILD_PACKAGES=(cmake make g++ pkg-config libsfml-dev libgl1-mesa-dri x11-utils)
# What the tests need on top: GoogleTest, the virtual display, XTest for real key
# state, pointer and keys for the end-to-end runs, the asset generator's Python
# imaging and fonts, and Debian's checkers that judge the package.
JOGO_TEST_PACKAGES=(libgtest-dev xvfb xauth libx11-dev libxtst-dev xdotool
                    python3 python3-pil fonts-dejavu-core fonts-dejavu-extra
                    lintian appstream desktop-file-utils)

ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
