// Where the program under test and the test outputs live.
//
// CTest hands the driver two folders in its environment: TG_DIST (the
// portable folder with trackglow.exe) and TG_BUILD (the Windows build tree).
// Under Wine they arrive as Unix paths; every function here returns a path
// the Windows file functions understand.
#pragma once

#include <string>

namespace e2e {

// TG_DIST as a Windows path, without a trailing separator. Throws when unset.
std::string DistDir();

// TG_BUILD as a Windows path, without a trailing separator. Throws when unset.
std::string BuildDir();

// BuildDir()\artifacts\<fileName>, creating the artifacts folder if needed.
std::string ArtifactPath(const std::string& fileName);

// A Unix path ("/work/x") as the Windows path Wine maps it to ("Z:\work\x");
// any other path is returned unchanged.
std::string ToWindowsPath(const std::string& path);

// Joins a folder and a name with one backslash.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace e2e
