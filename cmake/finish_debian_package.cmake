# Run by CPack once the files are installed into its staging folders, before
# the packages are built (CPACK_PRE_BUILD_SCRIPTS, see cmake/packaging.cmake):
# does to the staged files of each package what Debian's packaging tools
# would, which `cmake --install` leaves alone. The programs lose the
# compiler's notes as well as their symbols (as dh_strip does it); the
# package's own changelog, compressed as Debian wants, goes beside the
# release's; lintian's overrides (cmake/lintian_overrides) go where lintian
# reads them.

function(korvalo_run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "failed: ${ARGN}")
  endif()
endfunction()

# The staged files of one component, which make the named package.
function(korvalo_finish_package usr package)
  file(GLOB programs "${usr}/${CPACK_KORVALO_GAMES_FOLDER}/*" "${usr}/libexec/korvalo/*")
  foreach(program IN LISTS programs)
    if(NOT IS_DIRECTORY "${program}" AND NOT IS_SYMLINK "${program}")
      file(READ "${program}" magic LIMIT 4 HEX)
      if(magic STREQUAL "7f454c46")  # ELF, not a script
        korvalo_run("${CPACK_KORVALO_STRIP}" --remove-section=.comment --remove-section=.note
                    --strip-unneeded "${program}")
      endif()
    endif()
  endforeach()

  set(doc "${usr}/share/doc/${package}")
  file(MAKE_DIRECTORY "${doc}")
  configure_file("${CPACK_KORVALO_DEBIAN_CHANGELOG}" "${doc}/changelog.Debian" @ONLY)
  korvalo_run("${CPACK_KORVALO_GZIP}" -9nf "${doc}/changelog.Debian")

  # The overrides that name a file keep to the package that holds it.
  file(STRINGS "${CPACK_KORVALO_LINTIAN_OVERRIDES}" lines)
  set(overrides "")
  foreach(line IN LISTS lines)
    # Two steps: a variable in a condition is read before the condition
    # runs, so CMAKE_MATCH_1 must come from a match made earlier.
    if(line MATCHES "\\[usr/([^]]+)\\]$")
      # A wildcard's path: the part before the *.
      string(REGEX REPLACE "\\*.*$" "" named "${CMAKE_MATCH_1}")
      if(NOT EXISTS "${usr}/${named}")
        continue()
      endif()
    endif()
    string(APPEND overrides "${line}\n")
  endforeach()
  file(WRITE "${usr}/share/lintian/overrides/${package}" "${overrides}")
endfunction()

foreach(component_and_package IN LISTS CPACK_KORVALO_PACKAGES)
  string(REPLACE ":" ";" component_and_package "${component_and_package}")
  list(GET component_and_package 0 component)
  list(GET component_and_package 1 package)
  set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${component}${CPACK_PACKAGING_INSTALL_PREFIX}")
  if(IS_DIRECTORY "${usr}")
    korvalo_finish_package("${usr}" "${package}")
  endif()
endforeach()
