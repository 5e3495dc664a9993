# catalogue_ts: extracts the catalogue texts (translation context "ErrorCode") with lupdate into a
# translation template for integrators: copy it, set the language, translate, compile with lrelease
# and install the .qm with a QTranslator before constructing the first proxy.
set(ROBOT_PROXY_CATALOGUE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/catalogue_rows.h)
set(ROBOT_PROXY_CATALOGUE_TS ${PROJECT_BINARY_DIR}/translations/robot_proxy_catalogue.ts)

add_custom_command(
  OUTPUT ${ROBOT_PROXY_CATALOGUE_TS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/translations
  COMMAND Qt5::lupdate -silent -no-obsolete -locations relative ${ROBOT_PROXY_CATALOGUE_SOURCES}
          -ts ${ROBOT_PROXY_CATALOGUE_TS}
  DEPENDS ${ROBOT_PROXY_CATALOGUE_SOURCES}
  COMMENT "Extracting the catalogue texts into ${ROBOT_PROXY_CATALOGUE_TS}"
  VERBATIM)
add_custom_target(catalogue_ts DEPENDS ${ROBOT_PROXY_CATALOGUE_TS})
