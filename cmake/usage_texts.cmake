# The usage document's two stored forms, written from one description at build time with
# CMake alone, so that building needs nothing beyond CMake and the compilers.
set(USAGE_DIR ${CMAKE_BINARY_DIR}/generated)
set(USAGE_DOCUMENT ${PROJECT_SOURCE_DIR}/resources/usage_document.cmake)
add_custom_command(
  OUTPUT ${USAGE_DIR}/usage_plain.txt ${USAGE_DIR}/usage_rich.rtf
  COMMAND ${CMAKE_COMMAND} -DDOCUMENT=${USAGE_DOCUMENT} -DOUTPUT_DIR=${USAGE_DIR}
          -P ${CMAKE_CURRENT_LIST_DIR}/make_usage.cmake
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_usage.cmake ${USAGE_DOCUMENT}
  COMMENT "Writing the usage texts")
add_custom_target(usage_texts DEPENDS ${USAGE_DIR}/usage_plain.txt ${USAGE_DIR}/usage_rich.rtf)
