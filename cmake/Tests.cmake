# Unit tests (tests/unit mirrors src/) and end-to-end tests (tests/e2e) that
# run the built program in temporary folders.

if(WIN32)
  # The cross build compiles GoogleTest from the sources Debian installs.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTEST_LIBS gtest)
  set(GTEST_MAIN gtest_main)
else()
  find_package(GTest REQUIRED)
  set(GTEST_LIBS GTest::gtest)
  set(GTEST_MAIN GTest::gtest_main)
endif()

file(GLOB_RECURSE SUPPORT_SOURCES CONFIGURE_DEPENDS tests/support/*.cpp)
list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "/probe\\.cpp$")
list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "/recorder\\.cpp$")
list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "/E2e\\.cpp$")
list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "/ddeserver_win32\\.cpp$")
list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "/TestMain\\.cpp$")
if(WIN32)
  list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "_posix\\.cpp$")
else()
  list(FILTER SUPPORT_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
endif()
add_library(scrivo_testsupport STATIC ${SUPPORT_SOURCES})
target_include_directories(scrivo_testsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
target_link_libraries(scrivo_testsupport PUBLIC scrivo_core ${GTEST_LIBS})

# A small program that drives the runtime into situations the real program
# cannot reach on purpose (a double error, an eleventh try frame, ...).
add_executable(scrivo_probe tests/support/probe.cpp)
target_link_libraries(scrivo_probe PRIVATE scrivo_core)

# Stands in for the web browser: appends its argument to the file named by
# SCRIVO_RECORD.
add_executable(scrivo_recorder tests/support/recorder.cpp)

file(GLOB_RECURSE UNIT_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
if(WIN32)
  list(FILTER UNIT_SOURCES EXCLUDE REGEX "_posix\\.cpp$")
else()
  list(FILTER UNIT_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
endif()
add_executable(scrivo_unit ${UNIT_SOURCES} tests/support/TestMain.cpp)
target_link_libraries(scrivo_unit PRIVATE scrivo_testsupport)
target_compile_definitions(scrivo_unit PRIVATE
  SCRIVO_RECORDER_EXE="$<TARGET_FILE:scrivo_recorder>")
add_dependencies(scrivo_unit scrivo_recorder)
if(WIN32)
  # A DDE server standing in for the browser.
  add_executable(scrivo_ddeserver tests/support/ddeserver_win32.cpp)
  target_link_libraries(scrivo_ddeserver PRIVATE user32)
  target_compile_definitions(scrivo_unit PRIVATE
    SCRIVO_DDESERVER_EXE="$<TARGET_FILE:scrivo_ddeserver>")
  add_dependencies(scrivo_unit scrivo_ddeserver)
endif()

file(GLOB_RECURSE E2E_SOURCES CONFIGURE_DEPENDS tests/e2e/*.cpp)
if(WIN32)
  list(FILTER E2E_SOURCES EXCLUDE REGEX "_posix\\.cpp$")
else()
  list(FILTER E2E_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
endif()
list(APPEND E2E_SOURCES tests/support/E2e.cpp)
add_executable(scrivo_e2e ${E2E_SOURCES})
target_link_libraries(scrivo_e2e PRIVATE scrivo_testsupport ${GTEST_MAIN})
target_compile_definitions(scrivo_e2e PRIVATE
  SCRIVO_EXE="$<TARGET_FILE:scrivo>"
  SCRIVO_PROBE_EXE="$<TARGET_FILE:scrivo_probe>"
  SCRIVO_RECORDER_EXE="$<TARGET_FILE:scrivo_recorder>")
add_dependencies(scrivo_e2e scrivo scrivo_probe scrivo_recorder)

add_test(NAME unit COMMAND scrivo_unit)
add_test(NAME e2e COMMAND scrivo_e2e)

# The include ladder of src/ (tools/check-ladder.sh names the order): a
# folder that includes one above it fails the test.
add_test(NAME ladder COMMAND sh ${CMAKE_SOURCE_DIR}/tools/check-ladder.sh ${CMAKE_SOURCE_DIR}/src)

# The install rules, exercised in a staging folder (POSIX; the Windows
# package is a zip of the same files).
if(NOT WIN32)
  add_test(NAME install COMMAND sh ${CMAKE_SOURCE_DIR}/tests/install.sh ${CMAKE_COMMAND}
           ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
endif()
