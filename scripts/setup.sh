#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and
# builds Quillo32 into ./build. Extra packages may be named in QUILLO_EXTRA_PACKAGES.
set -euo pipefail
cd "$(dirname "$0")/.."

# libqt6svg6 draws the window icons; the desktop tools after it check the installed menu
# entries, file type and descriptions (tests/install); dpkg-dev lets CPack make the .deb;
# libtomlplusplus-dev reads the manifest of a help source folder (qzdtool pack);
# qt6-base-private-dev declares Qt's document layout, which the page layout extends.
packages=(g++ cmake ninja-build ccache pkg-config qt6-base-dev qt6-base-private-dev libgl-dev
          fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n poppler-utils
          libqt6svg6 desktop-file-utils appstream shared-mime-info xdg-utils
          libfile-mimeinfo-perl libglib2.0-bin dpkg-dev libtomlplusplus-dev
          ${QUILLO_EXTRA_PACKAGES:-})
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# ccache keys on paths relative to the checkout, so a fresh clone reuses earlier builds.
# Debug info would otherwise tie each object to its build folder and defeat that reuse.
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=true
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLO_WERROR=$werror \
      ${QUILLO_CMAKE_ARGS:-} >/dev/null
cmake --build build
