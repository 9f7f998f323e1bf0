# kestrin_add_test(<name> [ENGINE] SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per unit; every test case becomes its own ctest entry. ENGINE marks the
# tests of the messaging engine, which CI runs again under the sanitizers (ctest -L engine).
function(kestrin_add_test name)
  cmake_parse_arguments(ARG "ENGINE" "" "SOURCES;LIBS" ${ARGN})
  set(labels "")
  if(ARG_ENGINE)
    set(labels LABELS engine)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  kestrin_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 30
                       PROPERTIES TIMEOUT 120 ${labels})
endfunction()
