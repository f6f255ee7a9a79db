#pragma once
// Whole-file text input and output of the form runtime.  The bytes are the
// system code page's; the path may hold any character.  Failures raise
// glim::Error with the runtime's file error numbers (53 file not found,
// 76 path not found, 70 permission denied, 75 path/file access error,
// 57 device I/O error) and leave an existing file as it was when it could
// not be opened.
#include <string>

namespace glim::host {

std::string ReadTextFile(const std::wstring& path);
// Creates the file or truncates it, then writes the bytes.
void WriteTextFile(const std::wstring& path, const std::string& bytes);

} // namespace glim::host
