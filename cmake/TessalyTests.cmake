# tessaly_add_tests(NAME LIBS... SOURCES...): one GoogleTest executable per module,
# discovered by ctest. The fuzz build has none (nor GoogleTest).
function(tessaly_add_tests name)
  if(TESSALY_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main tessaly_options)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  # gtest_discover_tests hands its PROPERTIES on word by word, which splits a list value
  # such as ENVIRONMENT after its first variable. So the environment is set by a file
  # that ctest reads after the discovered tests, from the list of their names.
  # Saves of hard-linked files keep records in the journal: one of the build's own.
  set(environment "TZ=Asia/Shanghai" "LC_ALL=C.UTF-8"
      "TESSALY_JOURNAL_DIR=${PROJECT_BINARY_DIR}/test-journal" ${TESSALY_SANITIZER_ENVIRONMENT})
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake")
  file(WRITE "${script}"
       "if(${name}_TESTS)\n"
       "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==])\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
