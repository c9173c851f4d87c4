#include "support/ScreenDpi.h"

namespace e2e {
namespace {

constexpr char kLockName[] = "TrackglowScreenDpiLock";
const fakes::SwappedValue kLogPixels{"Control Panel\\Desktop", "LogPixels",
                                     "TrackglowSavedLogPixels", true};

} // namespace

ScreenDpiSwap::ScreenDpiSwap(DWORD dpi) : m_lock(kLockName) {
    if (!m_lock.Owned())
        return;
    fakes::detail::RawValue value;
    value.type = REG_DWORD;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&dpi);
    value.bytes.assign(bytes, bytes + sizeof dpi);
    m_bActive = fakes::Replace(kLogPixels, value);
}

ScreenDpiSwap::~ScreenDpiSwap() {
    if (m_lock.Owned())
        fakes::PutBack(kLogPixels);
}

bool PutBackScreenDpi() {
    const fakes::PrefixLock lock(kLockName);
    if (!lock.Owned())
        return false;
    fakes::PutBack(kLogPixels);
    // Nothing kept any more: the value is the original.
    const fakes::detail::RegistryKey key(kLogPixels.keyPath, false, kLogPixels.perUser);
    fakes::detail::RawValue kept;
    return !key.Get() || !fakes::detail::ReadRaw(key.Get(), kLogPixels.keptName, kept);
}

} // namespace e2e
