# The fake media player control: an in-process COM server (fakewmp.dll, built
# beside the test programs) that tests register for the player control's
# CLSID in their Wine prefix, with tests/fakes/fakewmp/FakeWmpRegistration.h.
file(GLOB TG_FAKEWMP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/fakewmp/*.cpp)
add_library(fakewmp SHARED ${TG_FAKEWMP_SOURCES}
    ${CMAKE_SOURCE_DIR}/tests/fakes/fakewmp/fakewmp.def
    ${CMAKE_SOURCE_DIR}/tests/fakes/fakewmp/fakewmp.rc)
set_target_properties(fakewmp PROPERTIES PREFIX "")
target_include_directories(fakewmp PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(fakewmp PRIVATE user32 ole32 oleaut32 uuid)
tg_strict(fakewmp)

# The test programs that use it are defined after this file: depend on it once
# they all exist.
function(tg_fakewmp_users)
    foreach(user win_tests e2e_mediaplayer_test e2e_badinput_test e2e_leak_test e2e_script_test)
        if(TARGET ${user})
            add_dependencies(${user} fakewmp)
        endif()
    endforeach()
endfunction()
cmake_language(DEFER CALL tg_fakewmp_users)
