# Checks that every product, test and bench source is laid out as .clang-format says; run
# by the test clang_format:
#
#   cmake -DCLANG_FORMAT=<clang-format> -DSOURCE_DIR=<dir> -DFOLDERS=<folders>
#         -P cmake/clang_format_check.cmake
#
# A file it names is put right with: clang-format -i <file> (from the top of the checkout:
# git ls-files -- '*.cpp' '*.h' | xargs clang-format -i).
cmake_minimum_required(VERSION 3.20)

if(NOT CLANG_FORMAT OR NOT EXISTS "${CLANG_FORMAT}")
  message("Skipped: clang-format is not installed, so the layout of the code is not checked.")
  return()
endif()

include("${CMAKE_CURRENT_LIST_DIR}/source_files.cmake")
hivescout_collect_sources(sources "*.cpp" "*.h")
list(LENGTH sources count)

# The style file is found from each source's folder upwards: the one at the top.
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${sources}
                WORKING_DIRECTORY "${SOURCE_DIR}"
                RESULT_VARIABLE failed
                OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(failed)
  # One line per file, not per place.
  string(REGEX MATCHALL "[^\n]*:[0-9]+:[0-9]+: error: code should be clang-formatted" places "${output}")
  list(LENGTH places placeCount)
  set(files "")
  foreach(place IN LISTS places)
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error: .*" "" file "${place}")
    list(APPEND files "${file}")
  endforeach()
  list(REMOVE_DUPLICATES files)
  list(LENGTH files fileCount)
  foreach(file IN LISTS files)
    message("Not laid out as .clang-format says: ${file}")
  endforeach()
  message(FATAL_ERROR "${placeCount} places in ${fileCount} of ${count} files are not laid out as .clang-format "
                      "says; clang-format -i <file> puts a file right.")
endif()
message("All ${count} product, test and bench files are laid out as .clang-format says.")
