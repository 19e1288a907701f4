# Compiles every product source with Clang, syntax only; run by the test clang_compile:
#
#   cmake -DCLANGXX=<clang++> -DSOURCE_DIR=<dir> -DFOLDERS=<folders> -DFLAGS=<flags>
#         -P cmake/clang_compile.cmake
cmake_minimum_required(VERSION 3.20)

if(NOT CLANGXX OR NOT EXISTS "${CLANGXX}")
  message("Skipped: clang++ is not installed, so the product code is not compiled with Clang.")
  return()
endif()

include("${CMAKE_CURRENT_LIST_DIR}/source_files.cmake")
hivescout_collect_sources(sources "*.cpp")
list(LENGTH sources count)

# One driver call: Clang goes on with the next file after a failed one and reports them all.
execute_process(COMMAND "${CLANGXX}" ${FLAGS} -I "${SOURCE_DIR}" ${sources}
                RESULT_VARIABLE failed
                OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(failed)
  message(FATAL_ERROR "${output}\nClang rejects the product code above (${count} files checked).")
endif()
message("Clang accepts all ${count} product files.")
