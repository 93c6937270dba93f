# Read by cpack for every package it makes (CPACK_PROJECT_CONFIG_FILE, see
# cmake/packaging.cmake): the files in the packages carry the release's date
# from the changelog, unless the packager sets SOURCE_DATE_EPOCH.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(ENV{SOURCE_DATE_EPOCH} "${CPACK_KORVALO_SOURCE_DATE_EPOCH}")
endif()
