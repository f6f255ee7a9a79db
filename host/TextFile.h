#pragma once
// Whole-file text input and output of the form runtime.  The bytes are the
// system code page's; the path may hold any character.  Failures raise
// glim::Error with the runtime's file error numbers (53 file not found,
// 76 path not found, 70 permission denied, 75 path/file access error,
// 57 device I/O error, 61 disk full).
#include <windows.h>

#include <string>

namespace glim::host {

std::string ReadTextFile(const std::wstring& path);

// The platform calls that write a save's temporary file, so that a test can
// fail one of them the way a full disk or a dropped share does.
struct SaveCalls {
    decltype(&::WriteFile) write = ::WriteFile;
    decltype(&::FlushFileBuffers) flush = ::FlushFileBuffers;
    decltype(&::CloseHandle) close = ::CloseHandle;
};

// Writes the bytes to a new file in the same folder, flushes and closes it,
// then puts it in the path's place in one step.  On any failure an existing
// file keeps every byte and the new one is deleted.  A read-only file is
// refused (70), not replaced.
void WriteTextFile(const std::wstring& path, const std::string& bytes, const SaveCalls& calls = {});

} // namespace glim::host
