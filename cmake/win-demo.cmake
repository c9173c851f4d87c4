# The demo player: a stand-in Winamp window for `make demo`, copied into the
# dist folder beside trackglow.exe.
file(GLOB TG_DEMO_PLAYER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/demo-player/*.cpp)
add_executable(demo-player WIN32 ${TG_DEMO_PLAYER_SOURCES})
target_include_directories(demo-player PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(demo-player PRIVATE user32 gdi32)
tg_strict(demo-player)
target_link_options(demo-player PRIVATE $<$<CONFIG:MinSizeRel,Release>:-s>)
add_custom_command(TARGET demo-player POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TG_DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:demo-player> ${TG_DIST_DIR}/)
