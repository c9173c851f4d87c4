# The portable logic, listed by name: these files must never include <windows.h>.
set(TG_PORTABLE_SOURCES
    common/Mbcs.cpp
    config/IniFile.cpp
)
list(TRANSFORM TG_PORTABLE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
