# A program's texts through Qt Linguist. translations/CATALOGUE_de.ts holds
# every text in German; translations/CATALOGUE_en.ts only the English plural
# forms ("1 move", "2 moves"), unless the texts have none (WITHOUT_PLURALS).
# Both are built into the target under ":/i18n".
# To take new or changed texts into the files:
#   cmake --build build --target TARGET_lupdate          (German)
#   cmake --build build --target TARGET_lupdate_plurals  (English plural forms)
# The test CATALOGUE_translations_finished fails while any text of either file
# waits for its translation.
find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

function(korvalo_translations target catalogue sources)
  cmake_parse_arguments(PARSE_ARGV 3 arg "WITHOUT_PLURALS" "" "")
  set(folder ${CMAKE_CURRENT_SOURCE_DIR}/translations)
  set(german ${folder}/${catalogue}_de.ts)
  set(ts_files ${german})
  qt_add_lupdate(${target} TS_FILES ${german} SOURCES ${sources}
                 OPTIONS -no-obsolete -locations none)
  if(NOT arg_WITHOUT_PLURALS)
    set(plurals ${folder}/${catalogue}_en.ts)
    list(APPEND ts_files ${plurals})
    add_custom_target(${target}_lupdate_plurals
      COMMAND Qt6::lupdate -pluralonly -no-obsolete -locations none ${sources} -ts ${plurals}
      WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
      COMMENT "English plural forms of ${catalogue}")
  endif()
  qt_add_lrelease(${target} TS_FILES ${ts_files} QM_FILES_OUTPUT_VARIABLE qm_files)
  qt_add_resources(${target} "${catalogue}_translations" PREFIX "/i18n"
                   BASE ${CMAKE_CURRENT_BINARY_DIR} FILES ${qm_files})
  if(BUILD_TESTING)
    add_test(NAME ${catalogue}_translations_finished
             COMMAND ${CMAKE_COMMAND} "-DTS_FILES=${ts_files}"
                     -P ${PROJECT_SOURCE_DIR}/cmake/check_translations.cmake)
    set_tests_properties(${catalogue}_translations_finished PROPERTIES LABELS quick)
  endif()
endfunction()
