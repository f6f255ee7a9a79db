#include "Settings.h"

#include "Handles.h"
#include "RuntimeErrors.h"

#include <windows.h>

#include <vector>

namespace glim {

namespace {

const char kRoot[] = "Software\\GlimForm\\";

} // namespace

std::string GetSetting(const std::string& section, const std::string& key, const std::string& dflt) {
    OwnedKey k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (kRoot + section).c_str(), 0, KEY_QUERY_VALUE, k.put()) !=
        ERROR_SUCCESS)
        return dflt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(k.get(), key.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return dflt;
    std::vector<char> buf(size + 1, '\0');
    if (RegQueryValueExA(k.get(), key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
        ERROR_SUCCESS)
        return dflt;
    return std::string(buf.data());
}

void SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
    OwnedKey k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (kRoot + section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        k.put(), nullptr) != ERROR_SUCCESS)
        RaiseError(kErrInvalidCall);
    if (RegSetValueExA(k.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        RaiseError(kErrInvalidCall);
}

} // namespace glim
