# The Debian package, built by `scripts/package` (cpack -G DEB). Shared
# libraries are found by dpkg-shlibdeps; the QML modules and the Qt plugins the
# program loads at run time are invisible to it and are named here.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wordlumen)
set(CPACK_PACKAGE_VENDOR Zintaro)
set(CPACK_PACKAGE_CONTACT Zintaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Explains work jargon in plain Chinese")
# The summary is the first line of the package's description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Wordlumen puts a small trigger above every window. A click, a global
shortcut or a selected word opens a paper-like card with a short,
plain-language Chinese answer: from the user's supplement packs, a built-in
dictionary of 200 entries, or an optional OpenAI-compatible online service.
The package also holds wordlumen-cli, the terminal companion.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${WORDLUMEN_HOMEPAGE_URL})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/qml-runtime-packages.txt qml_packages REGEX "^[a-z0-9]")
# libqt6svg6 also holds the SVG image and icon plugins the QML loads;
# libqt6sql6-sqlite is the SQLite driver plugin that the lookup history loads.
list(APPEND qml_packages libqt6svg6 libqt6sql6-sqlite)
list(JOIN qml_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# CJK text is drawn in Noto CJK SC; the API key lives in a Secret Service.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, gnome-keyring | kwalletmanager")
# A desktop's GlobalShortcuts portal registers the shortcut on Wayland; Qt's
# Wayland platform is the fallback where XWayland is missing.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-desktop-portal, qt6-wayland")

# Desktops on Linux look for the icon's PNG sizes; a build without rsvg-convert
# has none, and such a tree is not packaged.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/CheckPackageIcons.cmake)

set(CPACK_SOURCE_IGNORE_FILES "/build.*/" "/node_modules/" "/\\\\.git/")
include(CPack)
