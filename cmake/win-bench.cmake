# `make bench`: the baseline program, the paint timer and the driver that
# runs Trackglow beside a fake Winamp (tools/bench.sh runs them all). They
# are built with everything else, into bench/ of the build tree.
add_executable(bench-baseline WIN32 ${CMAKE_SOURCE_DIR}/bench/baseline/Baseline.cpp)
target_include_directories(bench-baseline PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench-baseline PRIVATE user32)
tg_strict(bench-baseline)

add_executable(bench-paint ${CMAKE_SOURCE_DIR}/bench/paint/PaintBench.cpp ${TG_RESOURCES})
target_include_directories(bench-paint PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e)
target_link_libraries(bench-paint PRIVATE tgprogram comctl32_by_ordinal)
tg_strict(bench-paint)

set_target_properties(bench-baseline bench-paint PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# The driver uses the end-to-end tests' support library, defined after this file.
function(tg_bench_driver)
    if(NOT TARGET e2e_support)
        message(WARNING "no end-to-end support library: the benchmark driver is not built")
        return()
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/driver/*.cpp)
    add_executable(bench-driver ${sources})
    target_link_libraries(bench-driver PRIVATE e2e_support psapi)
    tg_strict(bench-driver)
    set_target_properties(bench-driver PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    add_dependencies(bench-driver trackglow bench-baseline bench-paint)
endfunction()
cmake_language(DEFER CALL tg_bench_driver)
