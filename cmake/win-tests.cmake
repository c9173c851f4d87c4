# Windows-level tests: GoogleTest programs run under Wine by CTest.
file(GLOB TG_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(TG_WIN_TESTS)
    add_executable(win_tests ${TG_WIN_TESTS} ${TG_RESOURCES})
    target_link_libraries(win_tests PRIVATE tgprogram GTest::gtest_main comctl32_by_ordinal)
    tg_strict(win_tests)
    add_test(NAME win COMMAND win_tests)
    # It makes windows, tray icons and registry swaps of its own: it takes its
    # turn on the desktop like the end-to-end tests.
    set_tests_properties(win PROPERTIES LABELS win TIMEOUT 600 RESOURCE_LOCK desktop)
endif()

# End-to-end tests: one program per tests/e2e/*_test.cpp, each driving the
# real trackglow.exe from build/dist under Wine.
file(GLOB TG_E2E_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/support/*.cpp)
file(GLOB TG_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp)
if(TG_E2E_TESTS)
    add_library(e2e_support STATIC ${TG_E2E_SUPPORT})
    target_include_directories(e2e_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_SOURCE_DIR})
    target_link_libraries(e2e_support PUBLIC GTest::gtest tgcore user32 gdi32 shell32 ole32)
    target_compile_definitions(e2e_support PUBLIC TG_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    tg_strict(e2e_support)
    foreach(src ${TG_E2E_TESTS})
        get_filename_component(name ${src} NAME_WE)
        add_executable(e2e_${name} ${src})
        target_link_libraries(e2e_${name} PRIVATE e2e_support GTest::gtest_main)
        tg_strict(e2e_${name})
        add_dependencies(e2e_${name} trackglow)
        add_test(NAME e2e.${name} COMMAND e2e_${name})
        # One end-to-end test at a time: they share the screen, the tray and
        # the fake players every running program can see.
        set_tests_properties(e2e.${name} PROPERTIES LABELS e2e TIMEOUT 600 RESOURCE_LOCK desktop
            ENVIRONMENT "TG_DIST=${TG_DIST_DIR};TG_BUILD=${CMAKE_BINARY_DIR}")
    endforeach()
    # Windows-level tests use the same fake players and waits.
    if(TARGET win_tests)
        target_link_libraries(win_tests PRIVATE e2e_support)
        add_dependencies(win_tests demo-player)
    endif()
endif()
