# The hardening Debian builds its packages with (what `dpkg-buildflags`
# gives with hardening=+all): fortified C library calls, stack protection,
# position-independent executables, and relocations made read-only and bound
# at start. On for every optimised build; the sanitizer build goes without,
# as AddressSanitizer does its own checks and clashes with the fortified calls.
option(KORVALO_HARDEN "Build with the distribution's hardening flags" ON)

if(KORVALO_HARDEN AND NOT KORVALO_SANITIZE)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  # Fortified calls need the optimiser: not in Debug builds.
  add_compile_options(
    "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
    -fstack-protector-strong -fstack-clash-protection -fcf-protection
    -Wformat -Werror=format-security)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
