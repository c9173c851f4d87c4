// CFileFind: enumerates the directory entries matching a pattern, in the
// order the file system returns them.
#pragma once
#include <windows.h>
#include <string>

class CFileFind {
  public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search; TRUE when there is at least one match.
    BOOL FindFile(const char* pattern);
    // Moves to the next match; returns FALSE when the current one is the last.
    // Call it once before reading the first match.
    BOOL FindNextFile();
    std::string GetFileTitle() const; // name up to its last dot

  private:
    void Close();
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_fdFound{};
    WIN32_FIND_DATAA m_fdNext{};
    bool m_bHasNext = false;
};
