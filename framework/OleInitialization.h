// OleInitialize / OleUninitialize for the lifetime of an object, on the
// thread that makes it (uninitialised only when this object initialised it).
#pragma once
#include <ole2.h>

class COleInitialization {
  public:
    COleInitialization() : m_initialised(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~COleInitialization() {
        if (m_initialised)
            ::OleUninitialize();
    }
    COleInitialization(const COleInitialization&) = delete;
    COleInitialization& operator=(const COleInitialization&) = delete;

  private:
    bool m_initialised;
};
