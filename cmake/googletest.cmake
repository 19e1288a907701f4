# Finds GoogleTest for the tests, the editor stand-in, the launcher and the benchmarks and
# sets HIVESCOUT_GTEST_FOUND. Tried in this order:
#   1. a source folder, GTEST_SOURCE_DIR (by default Debian's /usr/src/googletest, when it
#      exists), built with the same compiler as the program, which a cross build needs;
#   2. an installed package (find_package(GTest), e.g. from vcpkg or a distribution);
#   3. a download of a fixed release, only when HIVESCOUT_FETCH_GOOGLETEST is turned on.
# Without any of them the program alone is built, and one line says why.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(gtest_default_source /usr/src/googletest)
else()
  set(gtest_default_source "")
endif()
set(GTEST_SOURCE_DIR "${gtest_default_source}" CACHE PATH "GoogleTest sources to build the tests with")
option(HIVESCOUT_FETCH_GOOGLETEST "Download GoogleTest when neither sources nor a package are found" OFF)

# GoogleTest's own options: built for this project only, never installed, no GoogleMock.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)

set(HIVESCOUT_GTEST_FOUND OFF)
if(GTEST_SOURCE_DIR AND EXISTS ${GTEST_SOURCE_DIR}/CMakeLists.txt)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(HIVESCOUT_GTEST_FOUND ON)
else()
  find_package(GTest QUIET)
  if(TARGET GTest::gtest_main)
    set(HIVESCOUT_GTEST_FOUND ON)
  elseif(HIVESCOUT_FETCH_GOOGLETEST)
    include(FetchContent)
    FetchContent_Declare(googletest
      GIT_REPOSITORY https://github.com/google/googletest.git
      GIT_TAG v1.14.0
      GIT_SHALLOW ON)
    FetchContent_MakeAvailable(googletest)
    set(HIVESCOUT_GTEST_FOUND ON)
  endif()
endif()

if(NOT HIVESCOUT_GTEST_FOUND)
  message(STATUS "GoogleTest not found (no sources at GTEST_SOURCE_DIR='${GTEST_SOURCE_DIR}', no installed GTest package, download off: -DHIVESCOUT_FETCH_GOOGLETEST=ON): building hivescout.exe only, without the tests, stand-in, launcher and benchmarks")
endif()
