# The constants that more than one program or build needs, each set here once.
# The desktop build (CMakeLists.txt) and the web build (web/CMakeLists.txt)
# both include this file; C++ code reads them from the generated header
# korvalo_constants.h (target korvalo_constants), made from
# cmake/korvalo_constants.h.in.

# The version of every program, of the Debian package and of the site's assets,
# and the day it was released (the metainfo, the manual pages, the changelogs).
set(KORVALO_VERSION 1.0)
set(KORVALO_RELEASE_DATE 2026-12-10)

# The desktop's application ids: they name the desktop entries and metainfo
# files, and the editor's also names the Korvalo icon in the hicolor theme,
# which every entry shows.
set(KORVALO_GAME_ID com.vandrel.Korvalo)
set(KORVALO_EDITOR_ID com.vandrel.KorvaloLevelEditor)
set(KORVALO_DESIGNER_ID com.vandrel.KorvaloLevelDesigner)

# The maker's web server, the default of the KORVALO_SERVER build setting.
set(KORVALO_DEFAULT_SERVER "http://www.vandrel.com")

# Paths on that server: the level-sharing page (followed by "?s=CODE"), the
# editor's home page, the maker's site, and the folder of the site's scripts,
# style sheet and images, named by the version so they can be cached forever.
set(KORVALO_SHARING_PAGE_PATH "/cgi-bin/korvz")
set(KORVALO_HOME_PAGE_PATH "/eng/pc/korvalo_editor.html")
set(KORVALO_MAKER_SITE_PATH "/eng")
set(KORVALO_ASSET_PATH "/korvalo/${KORVALO_VERSION}")

# Writes korvalo_constants.h into the build's generated/ folder and makes the
# interface target korvalo_constants that brings it. server is the address
# the programs are built for.
function(korvalo_constants_target server)
  set(KORVALO_BUILT_SERVER "${server}")
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/korvalo_constants.h.in
                 ${CMAKE_BINARY_DIR}/generated/korvalo_constants.h @ONLY)
  add_library(korvalo_constants INTERFACE)
  target_include_directories(korvalo_constants INTERFACE ${CMAKE_BINARY_DIR}/generated)
endfunction()
