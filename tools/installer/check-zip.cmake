# Checks the portable zip: unpacked, it holds exactly trackglow.exe (the one
# just built), demo-player.exe, the shipped skins, README.txt and LICENSE as
# CR LF text — nothing more, nothing less, no settings file.
#
#   cmake -DZIP=... -DPROGRAM=trackglow.exe -DSOURCE_DIR=... -DWORK_DIR=... -P check-zip.cmake
cmake_minimum_required(VERSION 3.20)

set(failures "")
macro(fail text)
    string(APPEND failures "  ${text}\n")
endmacro()

if(NOT EXISTS ${ZIP})
    message(FATAL_ERROR "${ZIP} does not exist")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP} WORKING_DIRECTORY ${WORK_DIR}
    RESULT_VARIABLE unpacked)
if(NOT unpacked EQUAL 0)
    message(FATAL_ERROR "${ZIP} cannot be unpacked")
endif()

# Every file, as a path inside the zip.
file(GLOB_RECURSE found RELATIVE ${WORK_DIR} ${WORK_DIR}/*)
file(GLOB_RECURSE skins RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/interface/*)
set(expected LICENSE README.txt demo-player.exe trackglow.exe ${skins})
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
    fail("holds [${found}]\n  expected [${expected}]")
endif()

foreach(skin ${skins})
    if(EXISTS ${WORK_DIR}/${skin})
        file(SHA256 ${WORK_DIR}/${skin} packed)
        file(SHA256 ${SOURCE_DIR}/${skin} shipped)
        if(NOT packed STREQUAL shipped)
            fail("${skin} differs from the source")
        endif()
    endif()
endforeach()
file(SHA256 ${PROGRAM} built)
file(SHA256 ${WORK_DIR}/trackglow.exe packed)
if(NOT built STREQUAL packed)
    fail("trackglow.exe is not the program just built")
endif()

foreach(text README.txt LICENSE)
    # Read as hexadecimal byte pairs (reading as text loses carriage
    # returns); with every CR LF taken out, no LF may be left.
    file(READ ${WORK_DIR}/${text} hex HEX)
    string(REGEX REPLACE "(..)" "\\1 " pairs "${hex}")
    string(REPLACE "0d 0a " "" pairs "${pairs}")
    if(hex STREQUAL "")
        fail("${text} is empty")
    elseif(pairs MATCHES "(^| )0a ")
        fail("${text} has line feeds without carriage returns")
    endif()
endforeach()
file(READ ${WORK_DIR}/README.txt readme)
if(readme MATCHES "@[A-Z_]+@")
    fail("README.txt holds an unreplaced ${CMAKE_MATCH_0}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
if(failures)
    message(FATAL_ERROR "The zip ${ZIP} is not as shipped:\n${failures}")
endif()
message(STATUS "${ZIP} is as shipped")
