#include "media.h"

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace glimtest {

namespace {
void Put32(std::vector<char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::vector<char>& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
void PutTag(std::vector<char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}
bool WriteBytes(const std::wstring& path, const std::vector<char>& out) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == out.size();
}
} // namespace

bool WriteToneWav(const std::wstring& path, unsigned milliseconds) {
    const uint32_t rate = 22050, samples = rate * milliseconds / 1000, dataBytes = samples * 2;
    std::vector<char> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, rate);
    Put32(out, rate * 2);
    Put16(out, 2);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (uint32_t i = 0; i < samples; ++i)
        Put16(out,
              static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(2 * 3.14159265 * 440 * i / rate))));
    return WriteBytes(path, out);
}

bool WriteSilentMp3(const std::wstring& path, unsigned milliseconds) {
    // 1152 samples a frame; 144 * 128000 / 44100 bytes, without padding.
    const unsigned frames = milliseconds * 44100 / 1152 / 1000 + 1, frameBytes = 417;
    std::vector<char> out;
    for (unsigned f = 0; f < frames; ++f) {
        const char header[4] = {'\xFF', '\xFB', '\x90', '\xC0'};
        out.insert(out.end(), header, header + 4);
        out.resize(out.size() + frameBytes - 4, '\0'); // side information and main data all zero
    }
    return WriteBytes(path, out);
}

std::wstring TempFolder(const std::wstring& name) {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    // A kept Wine prefix hands out the same process ids run after run: a
    // folder of an earlier run would bring its files along.
    const std::wstring stem =
        std::wstring(base) + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (unsigned n = 1;; ++n) {
        const std::wstring dir = stem + std::to_wstring(n);
        if (CreateDirectoryW(dir.c_str(), nullptr)) return dir + L"\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
}

} // namespace glimtest
