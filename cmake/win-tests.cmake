# Windows-level tests: GoogleTest programs run under Wine by CTest.
#
# One program, one CTest entry per source file (its suites by a filter), so a
# hang names its file and the files that share nothing can run side by side.
# What a file shares with others is named as a resource lock:
#   desktop     the screen, the cursor, the keyboard focus and the tray menu
#   tray-icons  icons in the shell's tray (every CNowPlayingWnd adds one)
#   wmp         the registration of the media player control (the fake's swap)
#   media-sessions  the registration of the media-session manager class
set(TG_WIN_LOCKS_AboutDlg_test desktop)
set(TG_WIN_LOCKS_FullScreenProbe_test desktop)
set(TG_WIN_LOCKS_PopupThreads_test desktop tray-icons)
set(TG_WIN_LOCKS_SystemTray_test desktop tray-icons)
set(TG_WIN_LOCKS_Paint_test tray-icons)
set(TG_WIN_LOCKS_Skin_test tray-icons)
set(TG_WIN_LOCKS_AxHost_test wmp)
set(TG_WIN_LOCKS_PlayerHost_test wmp)
# Winamp's window is found by its class: no other fake Winamp may be up.
set(TG_WIN_LOCKS_WinampWatch_test desktop)
set(TG_WIN_LOCKS_PlayerAnnouncements_test desktop tray-icons wmp)
set(TG_WIN_LOCKS_PlayerEvents_test wmp)
set(TG_WIN_LOCKS_MediaSessions_test media-sessions)

file(GLOB TG_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(TG_WIN_TESTS)
    add_executable(win_tests ${TG_WIN_TESTS} ${TG_RESOURCES})
    # The window helpers (boxes, waits that keep dispatching) are the
    # end-to-end driver's.
    target_link_libraries(win_tests PRIVATE tgprogram e2e_support GTest::gtest_main
        comctl32_by_ordinal)
    tg_strict(win_tests)
    foreach(src ${TG_WIN_TESTS})
        get_filename_component(name ${src} NAME_WE)
        # The suites the file defines; a new suite is picked up at the next
        # configure, which an edit of the file brings about.
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${src})
        file(STRINGS ${src} heads REGEX "^TEST(_F|_P)?\\(")
        set(filter "")
        foreach(head ${heads})
            string(REGEX REPLACE "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${head}")
            list(APPEND filter "${suite}.*" "*/${suite}.*")
        endforeach()
        if(NOT filter)
            continue()
        endif()
        list(REMOVE_DUPLICATES filter)
        string(REPLACE ";" ":" filter "${filter}")
        add_test(NAME win.${name} COMMAND win_tests --gtest_filter=${filter})
        set_tests_properties(win.${name} PROPERTIES LABELS win TIMEOUT 300)
        if(TG_WIN_LOCKS_${name})
            set_tests_properties(win.${name} PROPERTIES RESOURCE_LOCK "${TG_WIN_LOCKS_${name}}")
        endif()
    endforeach()
endif()

# End-to-end tests: one program per tests/e2e/*_test.cpp, each driving the
# real trackglow.exe from build/dist under Wine. All take the desktop; some
# also the resources named above.
set(TG_E2E_LOCKS_tray_test tray-icons)
set(TG_E2E_LOCKS_badinput_test wmp)
set(TG_E2E_LOCKS_leak_test wmp)
set(TG_E2E_LOCKS_mediaplayer_test wmp)
set(TG_E2E_LOCKS_sessions_test media-sessions)
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
        set(locks desktop ${TG_E2E_LOCKS_${name}})
        set_tests_properties(e2e.${name} PROPERTIES LABELS e2e TIMEOUT 600
            RESOURCE_LOCK "${locks}"
            ENVIRONMENT "TG_DIST=${TG_DIST_DIR};TG_BUILD=${CMAKE_BINARY_DIR}")
    endforeach()
    # Windows-level tests use the same fake players and waits.
    if(TARGET win_tests)
        target_link_libraries(win_tests PRIVATE e2e_support)
        add_dependencies(win_tests demo-player)
    endif()
endif()
