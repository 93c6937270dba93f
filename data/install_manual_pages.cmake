# Run by the install (see data/CMakeLists.txt), where CMAKE_INSTALL_PREFIX is
# the prefix of this install: makes the manual pages from data/man with the
# version, the date and the paths of the installed files, compresses them as
# Debian wants (gzip -9n: the most compression, no name or time inside, so
# the same install gives the same bytes), and installs them into section 6.
#
# Given: KORVALO_MAN_PAGES (the programs whose pages this install puts in),
# KORVALO_MAN_SOURCE (data/man), KORVALO_MAN_WORK (a build folder),
# KORVALO_GZIP, KORVALO_VERSION, KORVALO_RELEASE_DATE, and the install
# folders KORVALO_GAMES_FOLDER, KORVALO_DOC_FOLDER, KORVALO_LEVELS_FOLDER and
# KORVALO_MAN_FOLDER, each absolute or relative to the prefix.

function(korvalo_installed_path folder out)
  cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
             OUTPUT_VARIABLE path)
  string(REGEX REPLACE "/$" "" path "${path}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

korvalo_installed_path("${KORVALO_GAMES_FOLDER}" KORVALO_GAMES_DIR)
korvalo_installed_path("${KORVALO_DOC_FOLDER}" KORVALO_DOC_DIR)
korvalo_installed_path("${KORVALO_LEVELS_FOLDER}" KORVALO_LEVELS_DIR)
korvalo_installed_path("${KORVALO_MAN_FOLDER}/man6" man_dir)

foreach(program IN LISTS KORVALO_MAN_PAGES)
  set(source "${KORVALO_MAN_SOURCE}/${program}.6.in")
  set(name "${program}.6")
  set(page "${KORVALO_MAN_WORK}/${name}")
  configure_file("${source}" "${page}" @ONLY)
  execute_process(COMMAND "${KORVALO_GZIP}" -9nf "${page}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${page}")
  endif()
  file(INSTALL "${page}.gz" DESTINATION "${man_dir}")
endforeach()
