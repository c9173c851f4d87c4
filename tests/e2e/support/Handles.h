// Owning wrappers for the few handle kinds the test driver uses.
#pragma once

#include <windows.h>

namespace e2e {

// A kernel handle (process, thread, file) closed with CloseHandle.
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Release() {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Reset(HANDLE handle = nullptr) {
        if (Valid()) {
            CloseHandle(m_handle);
        }
        m_handle = handle;
    }

  private:
    HANDLE m_handle = nullptr;
};

// The screen's device context (GetDC(NULL)), released with ReleaseDC.
class ScreenDc {
  public:
    ScreenDc() : m_dc(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (m_dc) {
            ReleaseDC(nullptr, m_dc);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return m_dc; }

  private:
    HDC m_dc;
};

// A memory device context compatible with another one, deleted with DeleteDC.
class MemoryDc {
  public:
    explicit MemoryDc(HDC compatibleWith) : m_dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (m_dc) {
            DeleteDC(m_dc);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return m_dc; }

  private:
    HDC m_dc;
};

// A GDI object (bitmap, brush, font) deleted with DeleteObject.
class GdiObject {
  public:
    explicit GdiObject(HGDIOBJ object) : m_object(object) {}
    ~GdiObject() {
        if (m_object) {
            DeleteObject(m_object);
        }
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ Get() const { return m_object; }

  private:
    HGDIOBJ m_object;
};

// Selects an object into a device context for the lifetime of this guard.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(m_dc, m_previous); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

  private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace e2e
