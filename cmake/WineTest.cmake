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
  add_wine_test_run(${name} ${WINE_TEST_PREFIX})
endfunction()

# add_wine_test_run(<target> <prefix>)
# Registers a built test program with CTest, run under Wine in that prefix.
function(add_wine_test_run name prefix)
  add_test(NAME ${name} COMMAND ${WINE_PROGRAM} $<TARGET_FILE:${name}>
           WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "WINEPREFIX=${prefix};WINEARCH=win32;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
endfunction()

# use_service_stand_in(<test> [MAIL_RELAY])
# The test talks to the service stand-in, a program of the host tree (./parla builds the
# two trees side by side). CTest starts one on a free port before the test, even when only
# that test is asked for, and stops it afterwards; its port is in service/port beside the
# test program, and the files it publishes under "/update/" in service/updates. Without
# MAIL_RELAY its mail goes to .eml files in service/data/outbox; with it, to a real SMTP
# server that keeps what it receives in service/smtp/messages.
set(PARLACARD_SERVICE ${CMAKE_BINARY_DIR}/../host/service/parlacard-service
    CACHE FILEPATH "The service stand-in built by the host tree")
# The program's tests need the service's misbehaviour switches, and send more greetings
# from the loopback than a person would.
set(PARLACARD_SERVICE_TEST_SETTINGS --test-switches --uploads-per-hour 1000000 --messages-per-day 1000000)
function(use_service_stand_in name)
  cmake_parse_arguments(PARSE_ARGV 1 SERVICE "MAIL_RELAY" "" "")
  set(stand_in ${CMAKE_SOURCE_DIR}/service/stand-in.sh)
  if(SERVICE_MAIL_RELAY)
    set(stand_in ${CMAKE_SOURCE_DIR}/tests/install/mail-road.sh)
  endif()
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/service)
  add_test(NAME ${name}_service_start
           COMMAND sh ${stand_in} start ${PARLACARD_SERVICE} ${folder} ${PARLACARD_SERVICE_TEST_SETTINGS})
  add_test(NAME ${name}_service_stop COMMAND sh ${stand_in} stop ${folder})
  set_tests_properties(${name}_service_start PROPERTIES FIXTURES_SETUP ${name}_service)
  set_tests_properties(${name}_service_stop PROPERTIES FIXTURES_CLEANUP ${name}_service)
  set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED ${name}_service)
endfunction()
