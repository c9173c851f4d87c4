// Whole-file reads and writes and folder listings, in bytes, for the test driver.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The file's bytes, or nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Replaces the file with exactly these bytes. Throws on failure.
void WriteFileBytes(const std::string& path, const std::string& bytes);

bool FileExists(const std::string& path);

// Names of the entries of a folder (files and sub-folders, without "." and
// ".."), sorted.
std::vector<std::string> ListFolder(const std::string& folder);

// Sets or clears the read-only attribute of a file or folder.
void SetReadOnly(const std::string& path, bool readOnly);

} // namespace e2e
