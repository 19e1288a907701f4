# A second compiler, Clang, must accept every product source (the code that ships in
# hivescout.exe) for the same target, with warnings as errors; and every product and test
# source must be laid out as .clang-format says. Included at the end of the top
# CMakeLists.txt, once testing is enabled.

# The folders whose sources ship in the program; those that do not exist are passed over.
set(HIVESCOUT_PRODUCT_FOLDERS app base regedit sync views ui)

# Clang, syntax only, for the MinGW-w64 target with the build's definitions. The sources
# are found when the test runs, so new files and folders are checked without a change here.
if(MINGW)
  find_program(HIVESCOUT_CLANGXX NAMES clang++ clang++-14 DOC "Clang for the clang_compile test")
  if(NOT HIVESCOUT_CLANGXX)
    message(STATUS "clang++ not found: the test clang_compile will be skipped (install clang to run it)")
  endif()
  get_target_property(definitions hivescout_compile_settings INTERFACE_COMPILE_DEFINITIONS)
  # -Wno-cast-function-type as in the GCC build: functions bound at run time come from
  # GetProcAddress as FARPROC and must be cast to their real type.
  set(clang_flags --target=x86_64-w64-mingw32 -std=c++17 -fsyntax-only
                  -Wall -Wextra -Werror -Wno-cast-function-type -I${GENERATED_DIR})
  foreach(definition IN LISTS definitions)
    list(APPEND clang_flags -D${definition})
  endforeach()
  # The C++ library headers of the MinGW-w64 compiler that builds the program.
  foreach(directory IN LISTS CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES)
    if(directory MATCHES "/include/c\\+\\+")
      list(APPEND clang_flags -isystem ${directory})
    endif()
  endforeach()
  add_test(NAME clang_compile
           COMMAND ${CMAKE_COMMAND} "-DCLANGXX=${HIVESCOUT_CLANGXX}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
                   "-DFOLDERS=${HIVESCOUT_PRODUCT_FOLDERS}" "-DFLAGS=${clang_flags}"
                   -P ${CMAKE_CURRENT_LIST_DIR}/clang_compile.cmake)
  set_tests_properties(clang_compile PROPERTIES
                       SKIP_REGULAR_EXPRESSION "clang\\+\\+ is not installed" TIMEOUT 900)
endif()

# The layout of the product, test and bench code, whatever the compiler.
find_program(HIVESCOUT_CLANG_FORMAT NAMES clang-format clang-format-14 DOC "clang-format for the clang_format test")
if(NOT HIVESCOUT_CLANG_FORMAT)
  message(STATUS "clang-format not found: the test clang_format will be skipped (install clang-format to run it)")
endif()
add_test(NAME clang_format
         COMMAND ${CMAKE_COMMAND} "-DCLANG_FORMAT=${HIVESCOUT_CLANG_FORMAT}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
                 "-DFOLDERS=${HIVESCOUT_PRODUCT_FOLDERS};resources;tests;tools;bench"
                 -P ${CMAKE_CURRENT_LIST_DIR}/clang_format_check.cmake)
set_tests_properties(clang_format PROPERTIES SKIP_REGULAR_EXPRESSION "clang-format is not installed" TIMEOUT 300)
