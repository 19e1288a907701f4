# The usage document's two stored forms, written from one description at build time with
# CMake alone, so that building needs nothing beyond CMake and the compilers.
#
# The resource script that takes them in must be compiled again whenever they change.
# Makefile and Ninja generators would follow OBJECT_DEPENDS, Visual Studio generators
# ignore it. So the step that writes the texts also writes the copy of the resource script
# that is compiled (HIVESCOUT_RESOURCE_SCRIPT): a custom command's output listed among a
# target's sources is built before that target's sources are compiled, and the compiled
# script itself is then newer than its object, which every generator sees. The step also
# runs when the resource script, the files it includes or the version change.
set(USAGE_DIR ${GENERATED_DIR})
set(USAGE_DOCUMENT ${PROJECT_SOURCE_DIR}/resources/usage_document.cmake)
set(HIVESCOUT_RESOURCE_SCRIPT ${GENERATED_DIR}/hivescout.rc)
add_custom_command(
  OUTPUT ${USAGE_DIR}/usage_plain.txt ${USAGE_DIR}/usage_rich.rtf ${HIVESCOUT_RESOURCE_SCRIPT}
  COMMAND ${CMAKE_COMMAND} -DDOCUMENT=${USAGE_DOCUMENT} -DOUTPUT_DIR=${USAGE_DIR}
          -DHIVESCOUT_VERSION=${HIVESCOUT_VERSION} -P ${CMAKE_CURRENT_LIST_DIR}/make_usage.cmake
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/hivescout.rc ${HIVESCOUT_RESOURCE_SCRIPT}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_usage.cmake ${USAGE_DOCUMENT}
          ${PROJECT_SOURCE_DIR}/resources/hivescout.rc ${PROJECT_SOURCE_DIR}/resources/usage.rc
          ${PROJECT_SOURCE_DIR}/resources/resource_ids.h ${PROJECT_SOURCE_DIR}/resources/hivescout.ico
          ${GENERATED_DIR}/hivescout_version.h ${GENERATED_DIR}/hivescout.manifest
  COMMENT "Writing the usage texts and the resource script"
  VERBATIM)
