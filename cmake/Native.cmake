# Native tree: unit tests of the portable logic (also run under sanitizers).
file(GLOB TG_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
# The player watch decides portably over whatever sources it is given.
set(TG_PORTABLE_PLAYERS ${CMAKE_SOURCE_DIR}/players/PlayerWatch.cpp)
add_executable(unit_tests ${TG_UNIT_TESTS} ${TG_PORTABLE_PLAYERS})
target_link_libraries(unit_tests PRIVATE tgcore GTest::gtest_main)
tg_strict(unit_tests)
add_test(NAME unit COMMAND unit_tests)

# Fuzz targets need clang's libFuzzer; they are built only when asked for.
option(TG_FUZZ "Build the libFuzzer targets (configure with CC=clang CXX=clang++)" OFF)
if(TG_FUZZ)
    file(GLOB TG_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
    foreach(src ${TG_FUZZ_TARGETS})
        get_filename_component(name ${src} NAME_WE)
        add_executable(${name} ${src})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_libraries(${name} PRIVATE tgcore)
    endforeach()
endif()
