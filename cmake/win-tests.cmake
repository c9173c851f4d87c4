# Windows-level tests: GoogleTest programs run under Wine by CTest.
#
# One program, one CTest entry per source file (its suites by a filter), so a
# hang names its file and the files that share nothing can run side by side.
# What a file shares with others is named as a resource lock:
#   desktop     the screen, the cursor, the keyboard focus, the tray menu and
#               any fake Winamp (the program finds Winamp by its class)
#   tray-icons  icons in the shell's tray (every CNowPlayingWnd adds one)
#   wmp         the registration of the media player control (the fake's swap)
#   media-sessions  the registration of the media-session manager class
#   alone       not a lock: the test runs with nothing beside it (the screen's
#               DPI is the whole prefix's)
# tg_check_locks below refuses a file that touches one of these without
# naming its lock, so forgetting one stops the configure.
set(TG_WIN_LOCKS_AboutDlg_test desktop)
set(TG_WIN_LOCKS_FullScreenProbe_test desktop)
set(TG_WIN_LOCKS_Balloon_test desktop tray-icons)
set(TG_WIN_LOCKS_CodePage_test desktop tray-icons)
set(TG_WIN_LOCKS_DpiPaint_test desktop tray-icons)
set(TG_WIN_LOCKS_NoActivate_test desktop tray-icons)
set(TG_WIN_LOCKS_Paint_test desktop tray-icons)
set(TG_WIN_LOCKS_PopupThreads_test desktop tray-icons)
set(TG_WIN_LOCKS_Skin_test desktop tray-icons)
set(TG_WIN_LOCKS_SkinFont_test desktop tray-icons)
set(TG_WIN_LOCKS_SystemTray_test desktop tray-icons)
set(TG_WIN_LOCKS_AxHost_test wmp)
set(TG_WIN_LOCKS_PlayerHost_test wmp)
set(TG_WIN_LOCKS_WinampWatch_test desktop)
set(TG_WIN_LOCKS_PlayerAnnouncements_test desktop tray-icons wmp)
set(TG_WIN_LOCKS_PlayerEvents_test wmp)
set(TG_WIN_LOCKS_MediaSessions_test media-sessions)

# What in a test file's code (comments aside) touches a shared resource, and
# the locks that takes: "pattern=lock,lock". The main window and the test
# kit's pop-ups add a tray icon (which also brings Wine's tray window up over
# the pop-up's place) and may take the focus; input, the foreground and screen
# DC reads are the desktop's; a fake Winamp is seen by every running program.
set(TG_LOCK_RULES
    "CNowPlayingWnd|TestPopup|SkinnedPopupTest|CSystemTray|Shell_NotifyIcon=desktop,tray-icons"
    "SetCursorPos|SendInput|SetForegroundWindow|BringToForeground|ClickLeftButton|PressKey|TypeText|DoModal=desktop"
    "GetDC\\((nullptr|NULL|0)\\)|GetWindowDC|ScreenPixel|ScreenCapture|SaveScreenshot=desktop"
    "FakeWinamp=desktop"
    "CFakeWmpRegistration|CWineWmpRegistration|InprocServer32=wmp"
    "CFakeSessions|ActivatableClassId=media-sessions"
    "LogPixels|ScreenDpi=alone")

# Refuses `src` when it matches a rule whose locks `locks` does not name.
function(tg_check_locks src variable locks)
    file(READ ${src} code)
    string(REGEX REPLACE "//[^\n]*" "" code "${code}")
    foreach(rule ${TG_LOCK_RULES})
        string(FIND "${rule}" "=" at REVERSE)
        string(SUBSTRING "${rule}" 0 ${at} pattern)
        math(EXPR at "${at} + 1")
        string(SUBSTRING "${rule}" ${at} -1 needed)
        string(REGEX MATCH "${pattern}" hit "${code}")
        if(NOT hit)
            continue()
        endif()
        string(REPLACE "," ";" needed "${needed}")
        foreach(lock ${needed})
            if(NOT lock IN_LIST locks)
                file(RELATIVE_PATH name ${CMAKE_SOURCE_DIR} ${src})
                message(FATAL_ERROR "${name} uses ${hit}, which needs the lock '${lock}': "
                    "add it to ${variable} in cmake/win-tests.cmake")
            endif()
        endforeach()
    endforeach()
endfunction()

# The locks as CTest properties ("alone" is RUN_SERIAL).
function(tg_set_locks test locks)
    if("alone" IN_LIST locks)
        list(REMOVE_ITEM locks alone)
        set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
    endif()
    if(locks)
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK "${locks}")
    endif()
endfunction()

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
        tg_check_locks(${src} TG_WIN_LOCKS_${name} "${TG_WIN_LOCKS_${name}}")
        tg_set_locks(win.${name} "${TG_WIN_LOCKS_${name}}")
    endforeach()
endif()

# End-to-end tests: one program per tests/e2e/*_test.cpp, each driving the
# real trackglow.exe from build/dist under Wine. All take the desktop and the
# tray (the program adds its icon); some also the resources named above.
set(TG_E2E_LOCKS_badinput_test wmp)
set(TG_E2E_LOCKS_firststart_test wmp)
set(TG_E2E_LOCKS_leak_test wmp)
set(TG_E2E_LOCKS_mediaplayer_test wmp)
set(TG_E2E_LOCKS_sessions_test media-sessions)
set(TG_E2E_LOCKS_script_test wmp)
set(TG_E2E_LOCKS_dpi_test alone)
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
        set(locks desktop tray-icons ${TG_E2E_LOCKS_${name}})
        tg_check_locks(${src} TG_E2E_LOCKS_${name} "${locks}")
        set_tests_properties(e2e.${name} PROPERTIES LABELS e2e TIMEOUT 600
            ENVIRONMENT "TG_DIST=${TG_DIST_DIR};TG_BUILD=${CMAKE_BINARY_DIR}")
        tg_set_locks(e2e.${name} "${locks}")
    endforeach()
    # Windows-level tests use the same fake players and waits.
    if(TARGET win_tests)
        target_link_libraries(win_tests PRIVATE e2e_support)
        add_dependencies(win_tests demo-player)
    endif()
endif()
