// The font a skin names for the pop-up's text, made for the screen.
#pragma once
#include "core/SkinFontSpec.h"
#include "framework/Gdi.h"
#include <string>

// The face that stands in for a face the system does not have: the logical
// dialog face, which every Windows maps to its TrueType interface font (one
// with font linking for other scripts).
constexpr wchar_t kFallbackFontFace[] = L"MS Shell Dlg 2";

// Whether a font family of this name is installed (UTF-16 face name).
bool IsFontFaceInstalled(const std::wstring& face);

// The request for the font `spec` names: its face when installed (else the
// fallback face), its size at the screen's DPI, its weight; TrueType
// preferred, so Windows' font linking supplies other scripts.
LOGFONTW SkinFontRequest(const SkinFontSpec& spec);
