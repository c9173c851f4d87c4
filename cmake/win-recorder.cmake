# recorder.exe: a stand-in browser, built beside the test programs. Tests
# register it as the http and https open command in their Wine prefix (with
# tests/fakes/recorder/RecorderRegistration.h); it logs the URLs it is given.
file(GLOB TG_RECORDER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/recorder/*.cpp)
add_executable(recorder WIN32 ${TG_RECORDER_SOURCES})
target_include_directories(recorder PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(recorder PRIVATE shell32)
tg_strict(recorder)

# The test programs that use it are defined after this file: depend on it once
# they all exist.
function(tg_recorder_users)
    foreach(user e2e_lyrics_test e2e_script_test)
        if(TARGET ${user})
            add_dependencies(${user} recorder)
        endif()
    endforeach()
endfunction()
cmake_language(DEFER CALL tg_recorder_users)
