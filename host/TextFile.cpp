#include "TextFile.h"
#include "NonCopyable.h"

#include "GlimError.h"
#include "Handles.h"

#include <vector>

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
    case ERROR_DIRECTORY:
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

[[noreturn]] void RaiseWriteError(DWORD code) {
    if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL)
        throw glim::Error(61, kSource, "Disk full");
    throw glim::Error(57, kSource, "Device I/O error");
}

// The new file of a save: deleted when it goes, unless it took the
// target's place.
class TempFile : NonCopyable {
  public:
    explicit TempFile(const std::wstring& target) {
        std::vector<wchar_t> full(MAX_PATH);
        wchar_t* name = nullptr;
        DWORD n = GetFullPathNameW(target.c_str(), static_cast<DWORD>(full.size()), full.data(), &name);
        if (n >= full.size()) {
            full.resize(n);
            n = GetFullPathNameW(target.c_str(), static_cast<DWORD>(full.size()), full.data(), &name);
        }
        if (n == 0 || n >= full.size() || !name) RaiseOpenError(GetLastError());
        // In the target's folder, so that the last step is a rename.
        const std::wstring folder(full.data(), name);
        // The name alone cannot tell a missing folder from a locked one.
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            const DWORD code = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_PATH_NOT_FOUND;
            RaiseOpenError(code == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : code);
        }
        wchar_t temp[MAX_PATH] = {};
        if (!GetTempFileNameW(folder.c_str(), L"lrc", 0, temp)) RaiseOpenError(GetLastError());
        path_ = temp;
    }
    ~TempFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }
    void Placed() { path_.clear(); }

  private:
    std::wstring path_;
};
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

void WriteTextFile(const std::wstring& path, const std::string& bytes, const SaveCalls& calls) {
    // The rename would take a read-only file's place; the user set it so.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw glim::Error(70, kSource, "Permission denied");
    TempFile temp(path);
    {
        // Closed before the temporary file is placed or deleted.
        OwnedFile file(CreateFileW(temp.Path().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) RaiseOpenError(GetLastError());
        size_t put = 0;
        while (put < bytes.size()) {
            DWORD n = 0;
            if (!calls.write(file.get(), bytes.data() + put, static_cast<DWORD>(bytes.size() - put), &n,
                             nullptr))
                RaiseWriteError(GetLastError());
            if (n == 0) RaiseWriteError(ERROR_WRITE_FAULT);
            put += n;
        }
        if (!calls.flush(file.get())) RaiseWriteError(GetLastError());
        // A close that fails may have lost what the cache held.
        if (!calls.close(file.release())) RaiseWriteError(GetLastError());
    }
    if (!MoveFileExW(temp.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        RaiseOpenError(GetLastError());
    temp.Placed();
}

} // namespace glim::host
