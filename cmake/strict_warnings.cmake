# Strict warnings for our own targets only; errors only when asked for, so a
# newer compiler's new warnings never break someone else's build.
option(KORVALO_WERROR "Treat compiler warnings as errors (the check script and CI turn it on)" OFF)

function(korvalo_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KORVALO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
