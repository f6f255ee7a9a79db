#pragma once
// A clean settings store for a test: the library only reads and writes its
// values, so what earlier runs left is removed here.
#include <windows.h>

#include <string>

namespace glimtest {

inline void DeleteSettingSection(const std::string& section) {
    const std::string key = "Software\\GlimForm\\" + section;
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

} // namespace glimtest
