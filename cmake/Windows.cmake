# Windows tree: the framework stand-in, the program, and the tests that run
# under Wine (Windows-level and end-to-end).
set(TG_DIST_DIR ${CMAKE_SOURCE_DIR}/build/dist CACHE PATH "Portable folder the program is copied to")
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# comctl32's InitCommonControls is imported by its number, 17.
set(TG_COMCTL_ORDINAL_LIB ${CMAKE_BINARY_DIR}/libcomctl32_ordinal.a)
add_custom_command(
    OUTPUT ${TG_COMCTL_ORDINAL_LIB}
    COMMAND ${CMAKE_DLLTOOL} -d ${CMAKE_SOURCE_DIR}/res/comctl32_ordinal.def -l ${TG_COMCTL_ORDINAL_LIB}
    DEPENDS ${CMAKE_SOURCE_DIR}/res/comctl32_ordinal.def)
add_custom_target(comctl32_ordinal DEPENDS ${TG_COMCTL_ORDINAL_LIB})
add_library(comctl32_by_ordinal STATIC IMPORTED)
set_target_properties(comctl32_by_ordinal PROPERTIES IMPORTED_LOCATION ${TG_COMCTL_ORDINAL_LIB})
add_dependencies(comctl32_by_ordinal comctl32_ordinal)

# The framework stand-in (application, windows, dialogs, threads, control hosting).
file(GLOB TG_FRAMEWORK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/framework/*.cpp)
# The entry point goes straight into the program (a library member would not be pulled in).
list(REMOVE_ITEM TG_FRAMEWORK_SOURCES ${CMAKE_SOURCE_DIR}/framework/AppMain.cpp)
add_library(tgframework STATIC ${TG_FRAMEWORK_SOURCES})
target_include_directories(tgframework PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tgframework PUBLIC tgcore user32 gdi32 shell32 ole32 oleaut32 uuid)
tg_strict(tgframework)

# The program's classes, as a library so Windows-level tests can use them.
file(GLOB TG_PROGRAM_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/players/*.cpp
    ${CMAKE_SOURCE_DIR}/config/*.cpp ${CMAKE_SOURCE_DIR}/skin/*.cpp ${CMAKE_SOURCE_DIR}/shell/*.cpp)
list(REMOVE_ITEM TG_PROGRAM_SOURCES ${CMAKE_SOURCE_DIR}/app/TrackglowApp.cpp)
add_library(tgprogram STATIC ${TG_PROGRAM_SOURCES})
target_link_libraries(tgprogram PUBLIC tgframework)
tg_strict(tgprogram)

set(TG_RESOURCES ${CMAKE_SOURCE_DIR}/res/trackglow.rc)
set_source_files_properties(${TG_RESOURCES} PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/trackglow.manifest")

add_executable(trackglow WIN32 ${CMAKE_SOURCE_DIR}/app/TrackglowApp.cpp
    ${CMAKE_SOURCE_DIR}/framework/AppMain.cpp ${TG_RESOURCES})
target_link_libraries(trackglow PRIVATE tgprogram comctl32_by_ordinal)
# Small is a feature: release builds carry no symbols.
target_link_options(trackglow PRIVATE $<$<CONFIG:MinSizeRel,Release>:-s>)
tg_strict(trackglow)

# build/dist: the runnable portable folder (trackglow.exe with interface/ beside it).
add_custom_command(TARGET trackglow POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TG_DIST_DIR}/interface
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:trackglow> ${TG_DIST_DIR}/
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/interface ${TG_DIST_DIR}/interface)

# Further pieces (tests, fakes, tools) add themselves through cmake/win-*.cmake.
file(GLOB TG_WINDOWS_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/win-*.cmake)
foreach(part ${TG_WINDOWS_PARTS})
    include(${part})
endforeach()
