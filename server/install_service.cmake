# Run by the install (see server/CMakeLists.txt), where CMAKE_INSTALL_PREFIX is
# the prefix of this install: fills the install's own paths into lighttpd's
# configuration, its scripts, korvalo-site and the systemd unit (made by the
# build with %PREFIX% and %SYSCONF% in their place), and installs them with
# the environment file of the settings.
#
# Given: KORVALO_SERVICE_WORK (the build's folder of these files),
# KORVALO_SERVICE_SOURCE (server/), and the install folders
# KORVALO_SERVICE_FOLDER, KORVALO_CONFIG_FOLDER and KORVALO_SYSCONF_FOLDER,
# relative to the prefix.

string(REGEX REPLACE "/$" "" prefix "${CMAKE_INSTALL_PREFIX}")
# As GNUInstallDirs has it: the configuration of an install under /usr is in /etc.
if(prefix STREQUAL "/usr")
  set(sysconf "/etc")
else()
  set(sysconf "${prefix}/${KORVALO_SYSCONF_FOLDER}")
endif()

set(filled "${KORVALO_SERVICE_WORK}/filled")
file(MAKE_DIRECTORY "${filled}")
foreach(name lighttpd.conf site_headers.lua admission.lua requests.lua korvalo-site korvalo-site.service)
  file(READ "${KORVALO_SERVICE_WORK}/${name}" text)
  string(REPLACE "%PREFIX%" "${prefix}" text "${text}")
  string(REPLACE "%SYSCONF%" "${sysconf}" text "${text}")
  file(WRITE "${filled}/${name}" "${text}")
endforeach()

file(INSTALL "${filled}/korvalo-site" DESTINATION "${prefix}/${KORVALO_SERVICE_FOLDER}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                      WORLD_EXECUTE)
file(INSTALL "${filled}/lighttpd.conf" "${filled}/site_headers.lua" "${filled}/admission.lua"
     "${filled}/requests.lua" DESTINATION "${prefix}/${KORVALO_CONFIG_FOLDER}")
file(INSTALL "${filled}/korvalo-site.service" DESTINATION "${prefix}/lib/systemd/system")
file(INSTALL "${KORVALO_SERVICE_SOURCE}/korvalo-site.env" DESTINATION "${sysconf}/korvalo")
