# The portable logic, listed by name: these files must never include <windows.h>.
set(TG_PORTABLE_SOURCES
    common/Mbcs.cpp
    config/IniFile.cpp
    players/WinampTitle.cpp
    players/MediaText.cpp
    players/LyricsQuery.cpp
    app/PopupLayout.cpp
    app/AnimationSteps.cpp
    app/PopupAnimator.cpp
)
list(TRANSFORM TG_PORTABLE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
