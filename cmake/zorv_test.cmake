# zorv_add_folder_tests(NAME program LIBS lib... [CONCURRENCY_SOURCES a_test.cpp ...])
#
# Builds the folder's *_test.cpp files into one GoogleTest program and registers its tests with CTest
# one by one. The ThreadSanitizer build (ZORV_SANITIZE=thread) builds only CONCURRENCY_SOURCES, the
# test files that exercise threads, into the program; a folder without any is skipped there.
function(zorv_add_folder_tests)
  cmake_parse_arguments(ARG "" "NAME" "LIBS;CONCURRENCY_SOURCES" ${ARGN})
  if(ZORV_SANITIZE STREQUAL "thread")
    set(_sources ${ARG_CONCURRENCY_SOURCES})
    set(_labels concurrency)
  else()
    file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    set(_labels unit)
  endif()
  if(NOT _sources)
    return()
  endif()
  add_executable(${ARG_NAME} ${_sources})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main
    Threads::Threads)
  gtest_discover_tests(${ARG_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${_labels}" TIMEOUT 300)
endfunction()

# zorv_folder_sources(target): adds the folder's *.cpp files, tests excluded, to target.
function(zorv_folder_sources target)
  file(GLOB _all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER _all EXCLUDE REGEX "_(test|bench|fuzz)\\.cpp$")
  target_sources(${target} PRIVATE ${_all})
endfunction()
