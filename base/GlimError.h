#pragma once
// The library's one error type: number, source and description, as a
// caller of the controls sees them.  The COM boundary turns it into an
// HRESULT with IErrorInfo.
#include <windows.h>

#include <exception>
#include <string>

namespace glim {

class Error : public std::exception {
  public:
    // number is the raised value: a run-time error number (6, 380, ...) or
    // a full 0x8004xxxx value of the subclassing and timer errors.
    Error(long number, std::string source, std::string description)
        : number_(number), source_(std::move(source)), description_(std::move(description)) {}

    long Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

    // Run-time errors travel as 0x800A0000 + n; values that already carry a
    // facility (0x8004xxxx) travel as they are.
    HRESULT ToHResult() const {
        if (number_ > 0 && number_ <= 0xFFFF)
            return static_cast<HRESULT>(0x800A0000u | static_cast<unsigned>(number_));
        return static_cast<HRESULT>(number_);
    }

  private:
    long number_;
    std::string source_;
    std::string description_;
};

// The source the subclassing and timer errors carry: the library's own file
// name without extension, then ".WindowProc".
inline constexpr const char* kWindowProcSource = "GlimForm.WindowProc";

} // namespace glim
