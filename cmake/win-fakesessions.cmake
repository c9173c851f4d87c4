# The fake media-session manager: the runtime class's DLL (fakesessions.dll,
# built beside the test programs) that tests register for the class in their
# Wine prefix, with tests/fakes/fakesessions/FakeSessionsDriver.h.
add_library(fakesessions SHARED ${CMAKE_SOURCE_DIR}/tests/fakes/fakesessions/FakeSessions.cpp
    ${CMAKE_SOURCE_DIR}/tests/fakes/fakesessions/fakesessions.def)
set_target_properties(fakesessions PROPERTIES PREFIX "")
target_include_directories(fakesessions PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(fakesessions PRIVATE runtimeobject ole32 uuid)
tg_strict(fakesessions)

function(tg_fakesessions_users)
    foreach(user win_tests e2e_sessions_test)
        if(TARGET ${user})
            add_dependencies(${user} fakesessions)
        endif()
    endforeach()
endfunction()
cmake_language(DEFER CALL tg_fakesessions_users)
