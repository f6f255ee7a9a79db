#pragma once
// Writes painted pictures to files and the resource script naming them, for
// the build-time generators of the library's and the editor's artwork.
// The script names every file by the folder given here, so the resource
// compiler finds it whatever its working folder.
#include "ImageFiles.h"
#include "Raster.h"

#include <string>
#include <vector>

namespace skingen {

// Under Wine a Unix path is reached through drive Z:.
std::string NativePath(const std::string& path);

class Output {
  public:
    explicit Output(const std::string& dir) : dir_(dir) {}

    void Bitmap(int id, const std::string& name, const Raster& img, const char* what);
    void Icon(int id, const std::string& name, const std::vector<Raster>& sizes, const char* what);
    void CursorFile(int id, const std::string& name, const Raster& image, int hotX, int hotY,
                    const char* what);
    // Writes the script last, so a failed run leaves no script behind.
    bool Finish(const std::string& script);
    bool Ok() const { return ok_; }

  private:
    std::string FileName(const std::string& name) const { return NativePath(dir_ + "/" + name); }
    void Line(int id, const char* type, const std::string& name, const char* what);
    void Check(bool written, const std::string& name);
    bool Fail(const std::string& name);

    std::string dir_;
    std::string rc_ = "// Written by a generator of this tree; do not edit.\n";
    bool ok_ = true;
};

} // namespace skingen
