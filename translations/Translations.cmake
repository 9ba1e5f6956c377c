# The programs' translations: the .ts sources compiled by the host's lrelease
# (also in the Windows cross build) and, with Qt's own translations of the
# same languages (the boxes' standard buttons), embedded as the resource
# ":/i18n" (Translations.cpp loads it). Sets VARNOK_TRANSLATION_SOURCES, the
# generated resource source of the library.
find_program(VARNOK_LRELEASE lrelease PATHS /usr/lib/qt6/bin NO_DEFAULT_PATH)
find_program(VARNOK_LRELEASE lrelease)
if(NOT VARNOK_LRELEASE)
  message(FATAL_ERROR "lrelease not found (Debian: qt6-l10n-tools)")
endif()
# lupdate, for the test that every text is translated.
find_program(VARNOK_LUPDATE lupdate PATHS /usr/lib/qt6/bin NO_DEFAULT_PATH)
set(VARNOK_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH
    "Folder of Qt's own .qm translations (Debian: qt6-translations-l10n)")

set(VARNOK_LANGUAGES de zh_CN)
set(varnok_qm_dir ${CMAKE_CURRENT_BINARY_DIR}/translations/qm)
set(varnok_qrc_entries "")
set(varnok_qm_files "")
foreach(language ${VARNOK_LANGUAGES})
  set(ts ${CMAKE_CURRENT_LIST_DIR}/varnok_${language}.ts)
  set(qm ${varnok_qm_dir}/varnok_${language}.qm)
  add_custom_command(OUTPUT ${qm}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${varnok_qm_dir}
    COMMAND ${VARNOK_LRELEASE} -silent ${ts} -qm ${qm}
    DEPENDS ${ts}
    COMMENT "lrelease varnok_${language}.ts"
    VERBATIM)
  set(qtbase ${VARNOK_QT_TRANSLATIONS}/qtbase_${language}.qm)
  if(NOT EXISTS ${qtbase})
    message(FATAL_ERROR "${qtbase} missing (Debian: qt6-translations-l10n)")
  endif()
  list(APPEND varnok_qm_files ${qm} ${qtbase})
  string(APPEND varnok_qrc_entries "    <file alias=\"varnok_${language}.qm\">${qm}</file>\n"
                        "    <file alias=\"qtbase_${language}.qm\">${qtbase}</file>\n")
endforeach()

set(qrc ${CMAKE_CURRENT_BINARY_DIR}/translations/translations.qrc)
file(WRITE ${qrc}.in "<RCC>\n  <qresource prefix=\"/i18n\">\n${varnok_qrc_entries}  </qresource>\n</RCC>\n")
configure_file(${qrc}.in ${qrc} COPYONLY)
set(rcc_cpp ${CMAKE_CURRENT_BINARY_DIR}/translations/qrc_translations.cpp)
add_custom_command(OUTPUT ${rcc_cpp}
  # No zstd: the Windows Qt is built without it, and the .qm files are small.
  COMMAND Qt6::rcc --no-zstd --name translations --output ${rcc_cpp} ${qrc}
  DEPENDS ${qrc} ${varnok_qm_files}
  COMMENT "rcc translations.qrc"
  VERBATIM)
set(VARNOK_TRANSLATION_SOURCES ${rcc_cpp})
