#include "ArtOutput.h"

#include <cstdio>

namespace skingen {

std::string NativePath(const std::string& path) {
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') return "Z:" + path;
#endif
    return path;
}

void Output::Bitmap(int id, const std::string& name, const Raster& img, const char* what) {
    Check(WriteBmp24(FileName(name), img), name);
    Line(id, "BITMAP", name, what);
}

void Output::Icon(int id, const std::string& name, const std::vector<Raster>& sizes, const char* what) {
    Check(WriteIco(FileName(name), sizes), name);
    Line(id, "ICON", name, what);
}

void Output::CursorFile(int id, const std::string& name, const Raster& image, int hotX, int hotY,
                        const char* what) {
    Check(WriteCur(FileName(name), image, hotX, hotY), name);
    Line(id, "CURSOR", name, what);
}

bool Output::Finish(const std::string& script) {
    if (!ok_) return false;
    std::FILE* f = std::fopen(FileName(script).c_str(), "wb");
    if (!f) return Fail(script);
    const bool written = std::fwrite(rc_.data(), 1, rc_.size(), f) == rc_.size();
    return std::fclose(f) == 0 && written ? true : Fail(script);
}

void Output::Line(int id, const char* type, const std::string& name, const char* what) {
    rc_ += std::to_string(id) + " " + type + " \"" + dir_ + "/" + name + "\" // " + what + "\n";
}

void Output::Check(bool written, const std::string& name) {
    if (!written) Fail(name);
}

bool Output::Fail(const std::string& name) {
    std::fprintf(stderr, "artwork: cannot write %s\n", FileName(name).c_str());
    ok_ = false;
    return false;
}

} // namespace skingen
