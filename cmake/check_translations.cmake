# Fails when a translation file holds a text without its translation (marked
# unfinished, or empty), naming each such text.
# Usage: cmake -DTS_FILES="a.ts;b.ts" -P check_translations.cmake
set(waiting 0)
foreach(ts IN LISTS TS_FILES)
  file(READ ${ts} content)
  string(REGEX MATCHALL "<message[^>]*>[^<]*<source>[^<]*</source>([^<]|<[^/]|</[^m])*</message>"
         messages "${content}")
  if(NOT messages)
    message(SEND_ERROR "${ts}: no messages")
  endif()
  foreach(entry IN LISTS messages)
    if(entry MATCHES "type=\"unfinished\"" OR entry MATCHES "<translation>[ \n]*</translation>"
       OR entry MATCHES "<numerusform>[ \n]*</numerusform>" OR entry MATCHES "<numerusform/>")
      string(REGEX REPLACE ".*<source>([^<]*)</source>.*" "\\1" source "${entry}")
      message(STATUS "${ts}: not translated: ${source}")
      math(EXPR waiting "${waiting} + 1")
    endif()
  endforeach()
endforeach()
if(waiting GREATER 0)
  message(FATAL_ERROR "${waiting} texts wait for their translation")
endif()
