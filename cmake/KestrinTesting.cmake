# kestrin_add_test(<name> [ENGINE] [QT] SOURCES <files...> LIBS <targets...> [ARGS <arguments...>])
# ENGINE marks the tests of the messaging engine, which CI runs again under the sanitizers
# (ctest -L engine): each GoogleTest case becomes its own ctest entry. QT builds a Qt Test program,
# run as one entry on the offscreen platform, with ARGS (such as the test functions to run).
function(kestrin_add_test name)
  cmake_parse_arguments(ARG "ENGINE;QT" "" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kestrin_warnings(${name})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    if(WIN32)
      # Wine passes no QT_ variable on to Windows programs; the application object takes the argument.
      add_test(NAME ${name} COMMAND ${name} -platform offscreen ${ARG_ARGS})
      set_tests_properties(${name} PROPERTIES TIMEOUT 120 RESOURCE_LOCK kestrin_display)
    else()
      add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
      # No session bus: the window's arrivals would show notifications on the desktop of whoever runs the tests.
      set_tests_properties(${name} PROPERTIES ENVIRONMENT
                           "QT_QPA_PLATFORM=offscreen;DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent" TIMEOUT 120)
    endif()
    return()
  endif()
  set(labels "")
  if(ARG_ENGINE)
    set(labels LABELS engine)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 30
                       PROPERTIES TIMEOUT 120 ${labels})
endfunction()

# kestrin_add_lan_test(<name> <command...>): a test that builds its own virtual LAN in network
# namespaces; it needs root and runs alone, so two LANs never race for names.
function(kestrin_add_lan_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endfunction()
