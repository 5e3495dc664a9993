# Translations of the catalogue texts (translation context "ErrorCode"), built by default:
#   robot_proxy_catalogue.ts  the template: lupdate's extract of every catalogue text, for
#                             integrators to copy, translate and compile (docs/translations.md)
#   robot_proxy_<lang>.qm     the shipped translations, compiled from translations/*.ts into
#                             <build>/translations by the target catalogue_translations
# The application installs a QTranslator with a .qm before it constructs the first proxy.
include(RobotProxyTranslations)

set(ROBOT_PROXY_CATALOGUE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/catalogue_rows.h)
set(ROBOT_PROXY_TRANSLATIONS_BINARY_DIR ${PROJECT_BINARY_DIR}/translations)
set(ROBOT_PROXY_CATALOGUE_TS ${ROBOT_PROXY_TRANSLATIONS_BINARY_DIR}/robot_proxy_catalogue.ts)
set(ROBOT_PROXY_SHIPPED_TRANSLATIONS ${PROJECT_SOURCE_DIR}/translations/robot_proxy_de.ts)

add_custom_command(
  OUTPUT ${ROBOT_PROXY_CATALOGUE_TS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ROBOT_PROXY_TRANSLATIONS_BINARY_DIR}
  COMMAND Qt5::lupdate -silent -no-obsolete -locations none ${ROBOT_PROXY_CATALOGUE_SOURCES}
          -ts ${ROBOT_PROXY_CATALOGUE_TS}
  DEPENDS ${ROBOT_PROXY_CATALOGUE_SOURCES}
  COMMENT "Extracting the catalogue texts into ${ROBOT_PROXY_CATALOGUE_TS}"
  VERBATIM)
add_custom_target(catalogue_ts ALL DEPENDS ${ROBOT_PROXY_CATALOGUE_TS})

add_custom_target(catalogue_translations ALL)
set(ROBOT_PROXY_TRANSLATION_QM_FILES)
foreach(ts IN LISTS ROBOT_PROXY_SHIPPED_TRANSLATIONS)
  robot_proxy_add_translation(catalogue_translations ${ts} QM_FILE qm
    OUTPUT_DIRECTORY ${ROBOT_PROXY_TRANSLATIONS_BINARY_DIR})
  list(APPEND ROBOT_PROXY_TRANSLATION_QM_FILES ${qm})
endforeach()

# Not built by default: refreshes the shipped .ts files in the source tree after catalogue changes
# (new texts come in unfinished, translations of removed texts go).
add_custom_target(catalogue_ts_update
  COMMAND Qt5::lupdate -silent -no-obsolete -locations none ${ROBOT_PROXY_CATALOGUE_SOURCES}
          -ts ${ROBOT_PROXY_SHIPPED_TRANSLATIONS}
  COMMENT "Updating the shipped translations from the catalogue"
  VERBATIM)

include(GNUInstallDirs)
install(FILES ${ROBOT_PROXY_CATALOGUE_TS} DESTINATION ${CMAKE_INSTALL_DATADIR}/robot_proxy/translations
  COMPONENT development)
install(FILES ${ROBOT_PROXY_TRANSLATION_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/robot_proxy/translations
  COMPONENT runtime)
