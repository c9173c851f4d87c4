# What some end-to-end tests need beyond the driver's support: the fakes built
# beside them, and the screen's DPI put back after the tests that change it
# (CTest runs the cleanup even when such a test failed or was killed).
# The tests are defined after this file: this runs once they all exist.
function(tg_e2e_fixtures)
    if(TARGET e2e_courtesy_test)
        add_dependencies(e2e_courtesy_test recorder)
    endif()
    if(TARGET e2e_firststart_test)
        add_dependencies(e2e_firststart_test fakewmp)
    endif()
    if(TARGET e2e_dpi_test)
        add_executable(restore_screen_dpi ${CMAKE_SOURCE_DIR}/tests/e2e/cleanup/RestoreScreenDpi.cpp)
        target_link_libraries(restore_screen_dpi PRIVATE e2e_support)
        tg_strict(restore_screen_dpi)
        add_dependencies(e2e_dpi_test restore_screen_dpi)
        add_test(NAME e2e.screen_dpi_restore COMMAND restore_screen_dpi)
        set_tests_properties(e2e.screen_dpi_restore PROPERTIES LABELS e2e RESOURCE_LOCK desktop
            FIXTURES_CLEANUP screen_dpi)
        # The DPI is the whole prefix's: every program started meanwhile would
        # see it, so these run with nothing beside them (dpi_test: its "alone").
        set_tests_properties(e2e.dpi_test PROPERTIES FIXTURES_REQUIRED screen_dpi)
        set_tests_properties(e2e.screen_dpi_restore PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
cmake_language(DEFER CALL tg_e2e_fixtures)
