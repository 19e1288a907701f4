# Each product folder is a library that links only the folders below it. The build checks
# every #include "folder/..." of a folder against that list, so an include that reaches up
# or sideways fails the build with a message that names it.

set(HIVESCOUT_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/check_layer.cmake)

# hivescout_layer(<folder> [<folder below> ...])
function(hivescout_layer folder)
  # The resource identifiers are shared with the resource scripts, below every layer.
  set(allowed ${folder} resources)
  foreach(below IN LISTS ARGN)
    get_property(below_allowed GLOBAL PROPERTY HIVESCOUT_LAYER_${below})
    list(APPEND allowed ${below_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY HIVESCOUT_LAYER_${folder} ${allowed})

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)

  string(REPLACE ";" "," allowed_arg "${allowed}")
  set(stamp ${CMAKE_BINARY_DIR}/layers/${folder}.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DALLOWED=${allowed_arg} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
            -DSTAMP=${stamp} -P ${HIVESCOUT_LAYER_CHECK}
    DEPENDS ${sources} ${headers} ${HIVESCOUT_LAYER_CHECK}
    COMMENT "Checking the includes of ${folder}/"
    VERBATIM)
  add_custom_target(hivescout_${folder}_includes DEPENDS ${stamp})

  add_library(hivescout_${folder} STATIC ${sources} ${headers})
  add_dependencies(hivescout_${folder} hivescout_${folder}_includes)
  target_include_directories(hivescout_${folder} PUBLIC ${CMAKE_SOURCE_DIR})
  foreach(below IN LISTS ARGN)
    target_link_libraries(hivescout_${folder} PUBLIC hivescout_${below})
  endforeach()
  hivescout_product_warnings(hivescout_${folder})
endfunction()
