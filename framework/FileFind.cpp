#include "framework/FileFind.h"

BOOL CFileFind::FindFile(const char* pattern) {
    Close();
    m_hFind = ::FindFirstFileA(pattern, &m_next);
    m_hasNext = m_hFind != INVALID_HANDLE_VALUE;
    return m_hasNext;
}

BOOL CFileFind::FindNextFile() {
    if (!m_hasNext)
        return FALSE;
    m_found = m_next;
    m_hasNext = ::FindNextFileA(m_hFind, &m_next) != FALSE;
    return m_hasNext;
}

std::string CFileFind::GetFileName() const { return m_found.cFileName; }

std::string CFileFind::GetFileTitle() const {
    std::string name = GetFileName();
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

BOOL CFileFind::IsDirectory() const {
    return (m_found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CFileFind::Close() {
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_hasNext = false;
}
