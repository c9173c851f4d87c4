#pragma once
// Skin names as the settings store them: the definition "<name>.ini" is read
// from, and created in, the skin folder.

#include "core/Mbcs.h"

#include <string_view>

// True when "<folder><name>.ini" stays inside the folder: the name holds no
// path separator ("\" or "/") and no drive colon, counted as characters of
// `rule` (a double-byte character's trail byte may look like "\").
bool IsSkinNameInsideFolder(std::string_view name, CharRule rule);
