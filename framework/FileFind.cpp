#include "framework/FileFind.h"

BOOL CFileFind::FindFile(const char* pattern) {
    Close();
    m_hFind = ::FindFirstFileA(pattern, &m_fdNext);
    m_bHasNext = m_hFind != INVALID_HANDLE_VALUE;
    return m_bHasNext;
}

BOOL CFileFind::FindNextFile() {
    if (!m_bHasNext)
        return FALSE;
    m_fdFound = m_fdNext;
    m_bHasNext = ::FindNextFileA(m_hFind, &m_fdNext) != FALSE;
    return m_bHasNext;
}

std::string CFileFind::GetFileTitle() const {
    const std::string name = m_fdFound.cFileName;
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void CFileFind::Close() {
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_bHasNext = false;
}
