#include "core/SkinName.h"

bool IsSkinNameInsideFolder(std::string_view name, CharRule rule) {
    // Stepping by characters, a trail byte is never looked at on its own.
    for (size_t i = 0; i < name.size(); i += CharLength(name, i, rule)) {
        const char c = name[i];
        // "..\x", "\x" and "/x" climb or leave the folder; "C:x" and "C:\x"
        // name another drive's folder (and "x:y" a stream of another file).
        if (c == '\\' || c == '/' || c == ':')
            return false;
    }
    return true;
}
