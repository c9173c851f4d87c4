// Where the skin definitions and their bitmaps live.
#pragma once
#include <string>

constexpr const char kSkinDirectory[] = "interface\\";

// The skin directory: the executable's directory followed by "interface\",
// unless another folder was set with SetSkinDirectory.
std::string SkinDirectory();
// Makes `directory` (ending in a separator) the skin directory of this
// process; the empty string goes back to the one beside the executable.
// Lets tests bring their own skins.
void SetSkinDirectory(const std::string& directory);
