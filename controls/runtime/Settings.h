#pragma once
// Per-user settings of the library: string values under
// HKEY_CURRENT_USER\Software\GlimForm\<section>.  Value names are
// case-insensitive because the registry's are.
#include <string>

namespace glim {

// The stored value, or dflt when the section or value does not exist.
std::string GetSetting(const std::string& section, const std::string& key, const std::string& dflt);
// Creates the section when needed; raises error 5 when the store refuses.
void SaveSetting(const std::string& section, const std::string& key, const std::string& value);

} // namespace glim
