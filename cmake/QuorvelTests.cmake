# One GoogleTest executable per source folder. Each test is registered with CTest as
# "<folder>.<Suite>.<Test>" and labelled by what it needs, read from its suite name:
# a suite named "Editor_Gui_Sqlite" gets the labels gui and sqlite; a suite without any
# of the tags below is a plain unit test. Tags: _Gui _Sqlite _Postgres _Smtp _Readers.
find_package(GTest REQUIRED)
include(GoogleTest)

set(QUORVEL_LABEL_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/label_tests.cmake.in)

function(quorvel_add_test_suite folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  set(target tests_${folder})
  add_executable(${target} ${ARG_SOURCES})
  quorvel_target(${target})
  target_link_libraries(${target} PRIVATE quorvel_test_support ${ARG_LIBS} GTest::gmock)
  target_compile_options(${target} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/QtPrinters.h)
  gtest_discover_tests(${target}
    TEST_PREFIX "${folder}."
    TEST_LIST ${target}_TESTS
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUORVEL_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
               TIMEOUT 600)
  # Included by CTest after the discovered tests are defined, so it sees their names.
  set(QUORVEL_TEST_LIST ${target}_TESTS)
  configure_file(${QUORVEL_LABEL_TEMPLATE} ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake @ONLY)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
               ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
endfunction()
