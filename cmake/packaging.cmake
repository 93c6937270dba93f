# The Debian package: `cpack -G DEB` in the build folder, after the build.
set(CPACK_PACKAGE_NAME korvalo-level-editor)
set(CPACK_PACKAGE_VENDOR "The Korvalo Level Editor authors")
set(CPACK_PACKAGE_CONTACT "The Korvalo Level Editor authors <authors@korvalo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Level editor, game and tools for the Korvalo maze puzzle")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvalo is a maze puzzle on a board of 3, 5 or 7 squares with walls, three balls and three holes.\n\
This package holds the level editor (korvalo-editor), the game (korvalo) and the\n\
command-line tool (korvalo-level). Licence: MIT.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# The dependencies come from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
