# tessaly_add_tests(NAME LIBS... SOURCES...): one GoogleTest executable per module,
# discovered by ctest.
function(tessaly_add_tests name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main tessaly_options)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "TZ=Asia/Shanghai;LC_ALL=C.UTF-8")
endfunction()
