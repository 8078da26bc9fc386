include(GoogleTest)
find_package(GTest REQUIRED)

# add_vorlix_test(<folder> [THREADED] [LIBS <targets>...])
# Builds every tests/<folder>/*.cpp into one executable test_<folder> and registers its
# cases with CTest. THREADED marks the tests that also run under ThreadSanitizer and adds the
# executable to the target threaded_tests.
function(add_vorlix_test folder)
  cmake_parse_arguments(ARG "THREADED" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${folder})
  add_executable(${target} ${sources})
  target_compile_options(${target} PRIVATE ${VORLIX_WARNINGS})
  target_link_libraries(${target} PRIVATE test_support vorlix_core ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  # One label only: the discovered tests' properties are passed on as a flat list.
  set(label ${folder})
  if(ARG_THREADED)
    set(label threaded)
    add_dependencies(threaded_tests ${target})
  endif()
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${label} TIMEOUT 120)
endfunction()
