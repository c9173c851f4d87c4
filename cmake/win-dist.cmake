# What users download: the portable zip and the per-user installer, built
# with every build of the program (makensis takes a second or two), and the
# end-to-end test that installs, starts and uninstalls it under Wine.
set(TG_PACKAGE_DIR ${CMAKE_SOURCE_DIR}/build CACHE PATH "Where the zip and the installer are written")
find_program(TG_MAKENSIS makensis)

set(TG_ZIP ${TG_PACKAGE_DIR}/trackglow-${PROJECT_VERSION}-win64.zip)
set(TG_SETUP ${TG_PACKAGE_DIR}/trackglow-${PROJECT_VERSION}-setup.exe)
set(TG_PACKAGE_OUTPUTS ${TG_ZIP})
set(TG_PACKAGE_ARGS -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DVERSION=${PROJECT_VERSION}
    -DPROGRAM=$<TARGET_FILE:trackglow> -DDEMO_PLAYER=$<TARGET_FILE:demo-player>
    -DSTAGE_DIR=${CMAKE_BINARY_DIR}/package/stage -DZIP=${TG_ZIP})
if(TG_MAKENSIS)
    list(APPEND TG_PACKAGE_OUTPUTS ${TG_SETUP})
    list(APPEND TG_PACKAGE_ARGS -DMAKENSIS=${TG_MAKENSIS} -DSETUP=${TG_SETUP})
else()
    message(WARNING "makensis (Debian package nsis) not found: no installer is built, "
                    "and its test fails until it is installed")
endif()

file(GLOB_RECURSE TG_SHIPPED_SKIN_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/interface/*)
add_custom_command(
    OUTPUT ${TG_PACKAGE_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TG_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} ${TG_PACKAGE_ARGS} -P ${CMAKE_SOURCE_DIR}/tools/installer/package.cmake
    DEPENDS trackglow demo-player
        ${CMAKE_SOURCE_DIR}/tools/installer/package.cmake
        ${CMAKE_SOURCE_DIR}/tools/installer/trackglow.nsi
        ${CMAKE_SOURCE_DIR}/tools/installer/README.txt
        ${CMAKE_SOURCE_DIR}/LICENSE
        ${CMAKE_SOURCE_DIR}/res/app.ico
        ${TG_SHIPPED_SKIN_FILES}
    COMMENT "Packing the zip and the installer"
    VERBATIM)
add_custom_target(dist_packages ALL DEPENDS ${TG_PACKAGE_OUTPUTS})

# The installer's end-to-end test (tests/e2e/installer_test.cpp) is defined
# with the other end-to-end tests, after this file: point it at the
# installer and keep Wine from mirroring its Start-menu entry into the
# Linux desktop's menus.
function(tg_installer_test_setup)
    if(TARGET e2e_installer_test)
        add_dependencies(e2e_installer_test dist_packages)
        # The shell's link object, for reading the Start-menu entry.
        target_link_libraries(e2e_installer_test PRIVATE uuid)
        set_property(TEST e2e.installer_test APPEND PROPERTY ENVIRONMENT
            "TG_SETUP=${TG_SETUP}" "WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=")
    endif()
endfunction()
cmake_language(DEFER CALL tg_installer_test_setup)

# The zip's contents, checked on the Linux side (no Wine needed).
add_test(NAME dist.zip COMMAND ${CMAKE_COMMAND} -DZIP=${TG_ZIP} -DPROGRAM=$<TARGET_FILE:trackglow>
    -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DWORK_DIR=${CMAKE_BINARY_DIR}/package/check-zip
    -P ${CMAKE_SOURCE_DIR}/tools/installer/check-zip.cmake)
set_tests_properties(dist.zip PROPERTIES LABELS dist TIMEOUT 60)
