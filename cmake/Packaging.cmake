# `cpack -G DEB` in the build folder makes a Debian package of everything `cmake --install`
# installs. Configure with -DCMAKE_INSTALL_PREFIX=/usr for a package, so that the folder the
# programs were built for is the one the package installs into.
set(CPACK_PACKAGE_NAME quillo32)
set(CPACK_PACKAGE_VENDOR "The Quillo32 developers")
set(CPACK_PACKAGE_CONTACT "The Quillo32 developers <quillo32@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quillo32.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese help-authoring suite and help viewer")
# Debian shows these lines as they are: each under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
"Quillo32Maker (qzd32mk) builds help documents of up to 100 rich-text pages
with contents and keywords and saves them as .qzd help files or as HTML;
the viewer Quillo32 (qzd32) shows them with contents, keywords, search and
printing; qzdtool reads and writes help files from scripts. The user
interface is Japanese.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Qt libraries the programs link come from dpkg-shlibdeps. Qt loads its platform, SVG
# icon and image plug-ins at run time, which no link shows, and pages name Japanese fonts
# that the programs map to the IPA fonts. The programs call sensible-browser for web
# addresses when the desktop has no opener of its own. The page layout extends a class of
# Qt's private interface, which holds only for the Qt release built against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-base-abi (= ${Qt6_VERSION}), qt6-qpa-plugins, libqt6svg6, fonts-ipafont-gothic, fonts-ipafont-mincho, sensible-utils")
# Japanese texts in Qt's own dialogs and buttons; the file dialog's and the desktop's
# "open" of web addresses.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")

include(CPack)
