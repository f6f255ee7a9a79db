#include "TextFile.h"

#include "GlimError.h"
#include "Handles.h"

#include <windows.h>

namespace glim::host {

namespace {
const char* const kSource = "Host";

[[noreturn]] void RaiseOpenError(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        throw glim::Error(53, kSource, "File not found");
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
        throw glim::Error(76, kSource, "Path not found");
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        throw glim::Error(70, kSource, "Permission denied");
    default:
        throw glim::Error(75, kSource, "Path/File access error");
    }
}
} // namespace

std::string ReadTextFile(const std::wstring& path) {
    OwnedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseOpenError(GetLastError());
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw glim::Error(75, kSource, "Path/File access error");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw glim::Error(57, kSource, "Device I/O error");
    if (size.QuadPart > 0x7FFFFFFF) throw glim::Error(7, kSource, "Out of memory");
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        if (!ReadFile(file.get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr))
            throw glim::Error(57, kSource, "Device I/O error");
        if (n == 0) break; // the file shrank while being read
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

void WriteTextFile(const std::wstring& path, const std::string& bytes) {
    OwnedFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseOpenError(GetLastError());
    size_t put = 0;
    while (put < bytes.size()) {
        DWORD n = 0;
        if (!WriteFile(file.get(), bytes.data() + put, static_cast<DWORD>(bytes.size() - put), &n, nullptr) ||
            n == 0)
            throw glim::Error(57, kSource, "Device I/O error");
        put += n;
    }
}

} // namespace glim::host
