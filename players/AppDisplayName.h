// The name Windows shows for an app, found by its app user model id in the
// shell's Applications folder (Windows 8 and later): "Firefox" for the hash
// Firefox registers, "Spotify" for a store app's package id. Empty where the
// shell knows none, or COM is not initialised on the calling thread.
#pragma once
#include <string>

std::wstring AppDisplayName(const std::wstring& appId);
