#include "players/AppDisplayName.h"
#include "framework/ComPtr.h"

#include <shobjidl.h>

namespace {
// FOLDERID_AppsFolder, spelt out: linking the known-folder constants would
// pull in more than this one.
constexpr GUID kAppsFolder{
    0x1e87508d, 0x89c2, 0x42f0, {0x8a, 0x7e, 0x64, 0x5a, 0x0f, 0x50, 0xca, 0x58}};
} // namespace

std::wstring AppDisplayName(const std::wstring& appId) {
    // A program's file name or path is no registered id: the shell would
    // answer with the file's own name.
    if (appId.empty() || appId.find_first_of(L"\\/") != std::wstring::npos ||
        (appId.size() > 4 && _wcsicmp(appId.c_str() + appId.size() - 4, L".exe") == 0))
        return std::wstring();
    ComPtr<IShellItem> item;
    if (FAILED(::SHCreateItemInKnownFolder(kAppsFolder, 0, appId.c_str(), IID_IShellItem,
                                           item.PutVoid())) ||
        !item)
        return std::wstring();
    wchar_t* name = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_NORMALDISPLAY, &name)) || !name)
        return std::wstring();
    std::wstring display(name);
    ::CoTaskMemFree(name);
    return display;
}
