# Test programs: GoogleTest cross-compiled from Debian's source package, each test
# program run under Wine in the test prefix of this build tree.

set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${GOOGLETEST_SOURCE_DIR}/googletest/src/gtest-all.cc)
  message(FATAL_ERROR "GoogleTest sources not found in ${GOOGLETEST_SOURCE_DIR}: run ./parla deps")
endif()

# Built once per tree from the single-file amalgamations; their own warnings are not ours.
add_library(gtest STATIC ${GOOGLETEST_SOURCE_DIR}/googletest/src/gtest-all.cc)
target_include_directories(gtest SYSTEM PUBLIC ${GOOGLETEST_SOURCE_DIR}/googletest/include)
target_include_directories(gtest PRIVATE ${GOOGLETEST_SOURCE_DIR}/googletest)
target_compile_options(gtest PRIVATE -w)

add_library(gmock STATIC ${GOOGLETEST_SOURCE_DIR}/googlemock/src/gmock-all.cc)
target_include_directories(gmock SYSTEM PUBLIC ${GOOGLETEST_SOURCE_DIR}/googlemock/include)
target_include_directories(gmock PRIVATE ${GOOGLETEST_SOURCE_DIR}/googlemock)
target_link_libraries(gmock PUBLIC gtest)
target_compile_options(gmock PRIVATE -w)

find_program(WINE_PROGRAM wine REQUIRED)

# ./parla test creates this prefix and keeps one wineserver alive on it for the run.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# add_wine_test(<name> SOURCES <files...> [LIBS <libs...>])
# A console test program with the shared test support and our resources, registered
# with CTest to run under Wine. DISPLAY is taken from the environment ctest runs in:
# only the caller knows whether that is a real display or a private Xvfb.
function(add_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 WINE_TEST "" "" "SOURCES;LIBS")
  if(NOT WINE_TEST_SOURCES)
    message(FATAL_ERROR "add_wine_test(${name}): no SOURCES")
  endif()
  add_executable(${name} ${WINE_TEST_SOURCES} $<TARGET_OBJECTS:parlacard_res>)
  target_link_libraries(${name} PRIVATE ${WINE_TEST_LIBS} testsupport parlacard_core gmock gtest)
  add_test(NAME ${name} COMMAND ${WINE_PROGRAM} $<TARGET_FILE:${name}>
           WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "WINEPREFIX=${WINE_TEST_PREFIX};WINEARCH=win32;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
endfunction()
