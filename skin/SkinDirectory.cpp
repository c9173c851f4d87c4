#include "skin/SkinDirectory.h"
#include "config/Settings.h"

namespace {
std::string& ChosenSkinDirectory() {
    static std::string directory;
    return directory;
}
} // namespace

std::string SkinDirectory() {
    const std::string& chosen = ChosenSkinDirectory();
    return chosen.empty() ? GetExeDir() + kSkinDirectory : chosen;
}

void SetSkinDirectory(const std::string& directory) {
    ChosenSkinDirectory() = directory;
}
