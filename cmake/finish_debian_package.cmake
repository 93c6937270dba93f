# Run by CPack once the files are installed into its staging folder, before
# the package is built (CPACK_PRE_BUILD_SCRIPTS, see cmake/packaging.cmake):
# does to the staged files what Debian's packaging tools would, which
# `cmake --install` leaves alone. The programs lose the compiler's notes as
# well as their symbols (as dh_strip does it); the package's own changelog,
# compressed as Debian wants, goes beside the release's; lintian's overrides
# (cmake/lintian_overrides) go where lintian reads them.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

function(korvalo_run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "failed: ${ARGN}")
  endif()
endfunction()

file(GLOB programs "${usr}/${CPACK_KORVALO_GAMES_FOLDER}/*")
foreach(program IN LISTS programs)
  korvalo_run("${CPACK_KORVALO_STRIP}" --remove-section=.comment --remove-section=.note
              --strip-unneeded "${program}")
endforeach()

set(doc "${usr}/${CPACK_KORVALO_DOC_FOLDER}")
file(COPY_FILE "${CPACK_KORVALO_DEBIAN_CHANGELOG}" "${doc}/changelog.Debian")
korvalo_run("${CPACK_KORVALO_GZIP}" -9nf "${doc}/changelog.Debian")

file(MAKE_DIRECTORY "${usr}/share/lintian/overrides")
file(COPY_FILE "${CPACK_KORVALO_LINTIAN_OVERRIDES}"
     "${usr}/share/lintian/overrides/${CPACK_PACKAGE_NAME}")
