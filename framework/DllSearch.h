// Where the program's own later DLL loads look. The portable exe is often run
// from a downloads folder: a DLL planted there under a system DLL's name must
// never be loaded in its place.
#pragma once

// From now on, DLLs this process loads by name come from the system folder
// only. False where the system cannot restrict the search (Windows 7 without
// its update): the program then runs with the search it has.
bool RestrictDllSearchToSystem();
