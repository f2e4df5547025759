# The program's texts in German and Czech: translations/sticker2_<lang>.ts,
# kept current with tools/update-translations.sh (or the update_translations
# target), become .qm files in the build's translations/ folder (where the
# program and the tests find them when run from the build tree) and are
# installed to share/sticker2/translations. English needs none: it is the
# language the texts are written in.
include(GNUInstallDirs)

set(STICKER2_LANGUAGES de cs)
set(STICKER2_TS_FILES)
foreach(language ${STICKER2_LANGUAGES})
  list(APPEND STICKER2_TS_FILES ${PROJECT_SOURCE_DIR}/translations/sticker2_${language}.ts)
endforeach()
set_source_files_properties(${STICKER2_TS_FILES} PROPERTIES OUTPUT_LOCATION ${CMAKE_BINARY_DIR}/translations)
qt_add_lrelease(sticker2 TS_FILES ${STICKER2_TS_FILES} QM_FILES_OUTPUT_VARIABLE STICKER2_QM_FILES
  OPTIONS -silent)
install(FILES ${STICKER2_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/sticker2/translations)

# Refreshes the .ts files from the sources (new texts come in untranslated).
add_custom_target(update_translations
  COMMAND ${CMAKE_COMMAND} -E env LUPDATE=$<TARGET_FILE:Qt6::lupdate>
    bash ${PROJECT_SOURCE_DIR}/tools/update-translations.sh
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  VERBATIM)
