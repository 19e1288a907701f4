# Carries the project's version to everything that shows or checks it: a header for the
# C++ code and the resource script, and the manifest's assembly identity. configure_file
# rewrites a file only when its text changes, so a build after a version change rebuilds
# exactly what shows the version.
set(HIVESCOUT_VERSION ${PROJECT_VERSION})
# The version resource wants four numbers; a version given with fewer gets zeros.
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(HIVESCOUT_VERSION_${part} 0)
  else()
    set(HIVESCOUT_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(HIVESCOUT_VERSION_QUAD
  "${HIVESCOUT_VERSION_MAJOR}.${HIVESCOUT_VERSION_MINOR}.${HIVESCOUT_VERSION_PATCH}.${HIVESCOUT_VERSION_TWEAK}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${GENERATED_DIR}/hivescout_version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/hivescout.manifest.in ${GENERATED_DIR}/hivescout.manifest @ONLY)
