# The Debian packages: `cpack -G DEB` in the build folder, after the build.
# One package per audience, each from an install component:
#   korvalo-level-editor (desktop): the editor and the game, with Qt;
#   korvalo-level (tool): the command-line tool, without Qt;
#   korvalo-server (service): the sharing page's service, korvz with its site,
#     configuration and systemd unit.
# They follow Debian's conventions for games (the programs in /usr/games,
# their manual pages in section 6, see CMakeLists.txt) and pass lintian.
# `cpack --config CPackSourceConfig.cmake` makes the source package: the
# sources alone, without build folders or git's.
set(CPACK_PACKAGE_NAME korvalo-level-editor)
set(CPACK_PACKAGE_VENDOR "The Korvalo Level Editor authors")
set(CPACK_PACKAGE_CONTACT "The Korvalo Level Editor authors <authors@korvalo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Level editor, game and tools for the Korvalo maze puzzle")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# The packages, their names and what each says of itself: a summary line,
# then lines of at most 80 characters, as Debian's package lists show them.
set(korvalo_about "Korvalo is a maze puzzle on a board of 3, 5 or 7 squares with walls,\n\
three balls and three holes: tilt the board until every ball rests on the\n\
hole of its own colour.\n\
.\n")
set(CPACK_COMPONENTS_ALL desktop tool)
# The service's install rules exist where korvz is built (server/CMakeLists.txt).
if(KORVALO_INSTALL_SERVICE OR BUILD_TESTING)
  list(APPEND CPACK_COMPONENTS_ALL service)
endif()
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME korvalo-level-editor)
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION "Level editor and game for the Korvalo maze puzzle\n\
${korvalo_about}This package holds the game (korvalo) and the level editor with its\n\
designer mode (korvalo-editor). The command-line tool is in korvalo-level.")
# Qt's own dialogs (file choosers, message boxes) in the user's language.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SUGGESTS "korvalo-level")
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME korvalo-level)
set(CPACK_COMPONENT_TOOL_DESCRIPTION "Command-line tool for Korvalo maze puzzle levels\n\
${korvalo_about}This package holds korvalo-level, which solves, generates, analyses,\n\
checks and draws levels without a window or Qt, with its completion for\n\
bash, zsh and fish.")
set(CPACK_DEBIAN_SERVICE_PACKAGE_NAME korvalo-server)
set(CPACK_DEBIAN_SERVICE_PACKAGE_SECTION web)
set(CPACK_COMPONENT_SERVICE_DESCRIPTION "Level-sharing web service for the Korvalo maze puzzle\n\
${korvalo_about}This package holds the sharing page's service: korvz, the FastCGI\n\
worker that answers for a level with its page and picture, run by lighttpd,\n\
with the site, lighttpd's configuration and the systemd unit korvalo-site.")
# lighttpd runs the workers, its Lua scripts set the answers' headers and
# mod_deflate compresses them; dpkg-shlibdeps adds the libraries korvz links
# (libfcgi0ldbl, libsqlite3-0, libpq5).
set(CPACK_DEBIAN_SERVICE_PACKAGE_DEPENDS "lighttpd, lighttpd-modules-lua, lighttpd-mod-deflate")
# The settings in /etc are the administrator's: an upgrade keeps their edits.
file(WRITE ${CMAKE_BINARY_DIR}/packaging/service/conffiles "/etc/korvalo/korvalo-site.env\n")
set(CPACK_DEBIAN_SERVICE_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/packaging/service/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION games)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KORVALO_METADATA_HOMEPAGE})
# The dependencies come from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The install runs with the package's own prefix, so the manual pages name
# the paths the package puts its files at.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CPACK_INSTALL_PREFIX})

# The package's revision of the release: Debian then keeps the release's own
# changes in changelog.gz (CHANGELOG.md, installed with the README) and the
# package's in changelog.Debian.gz, which is made here and put into the
# package by cmake/finish_debian_package.cmake before it is built.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)

# The release day as a Debian changelog writes it (RFC 2822): the day's number
# since 1970 (the days-from-civil count, in years that start in March), read
# back through SOURCE_DATE_EPOCH, which string(TIMESTAMP) takes for "now".
function(korvalo_rfc2822_date iso_date out)
  if(NOT iso_date MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "not a date of the form YYYY-MM-DD: ${iso_date}")
  endif()
  set(year ${CMAKE_MATCH_1})
  math(EXPR month "1${CMAKE_MATCH_2} - 100")
  math(EXPR day "1${CMAKE_MATCH_3} - 100")
  if(month LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR era_year "${year} % 400")
  math(EXPR era_day "${era_year} * 365 + ${era_year} / 4 - ${era_year} / 100 + (153 * ((${month} + 9) % 12) + 2) / 5 + ${day} - 1")
  math(EXPR seconds "((${year} / 400) * 146097 + ${era_day} - 719468) * 86400")
  set(saved "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} ${seconds})
  string(TIMESTAMP date "%a, %d %b %Y 12:00:00 +0000" UTC)
  if(saved STREQUAL "")
    unset(ENV{SOURCE_DATE_EPOCH})
  else()
    set(ENV{SOURCE_DATE_EPOCH} "${saved}")
  endif()
  set(${out} "${date}" PARENT_SCOPE)
  set(${out}_SECONDS ${seconds} PARENT_SCOPE)
endfunction()

korvalo_rfc2822_date(${KORVALO_RELEASE_DATE} KORVALO_DEBIAN_DATE)
# The packages' files carry the changelog's date, not the build's time, so
# that two builds of one release give the same bytes: CPack takes the time
# from SOURCE_DATE_EPOCH, which cmake/cpack_project_config.cmake sets from
# this unless the packager gives one.
set(CPACK_KORVALO_SOURCE_DATE_EPOCH ${KORVALO_DEBIAN_DATE_SECONDS})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_project_config.cmake)

# The source package: the sources only.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME korvalo-level-editor-${KORVALO_VERSION})
set(CPACK_SOURCE_IGNORE_FILES "/build[^/]*/" "/\\.git" "/__pycache__/" "\\.pyc$" "~$")
# The package's name is filled in for each package when it is made.
set(package "@package@")
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian_changelog.in
               ${CMAKE_BINARY_DIR}/packaging/changelog.Debian @ONLY)
# What cmake/finish_debian_package.cmake needs.
set(CPACK_KORVALO_DEBIAN_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog.Debian)
set(CPACK_KORVALO_LINTIAN_OVERRIDES ${CMAKE_CURRENT_LIST_DIR}/lintian_overrides)
set(CPACK_KORVALO_GAMES_FOLDER ${KORVALO_INSTALL_GAMESDIR})
# Each component's staging folder, the package it makes and its documentation folder.
set(CPACK_KORVALO_PACKAGES "desktop:korvalo-level-editor" "tool:korvalo-level" "service:korvalo-server")
set(CPACK_KORVALO_GZIP ${KORVALO_GZIP})
set(CPACK_KORVALO_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/finish_debian_package.cmake)
include(CPack)
