#pragma once
// Raising run-time errors and carrying them across COM: an Error becomes an
// HRESULT with IErrorInfo (or EXCEPINFO inside Invoke), and a failed call on
// another object becomes an Error again.
#include "GlimError.h"

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>

namespace glim {

// The source run-time errors of the library carry: its type library name.
inline constexpr const char* kErrorSource = "GlimFormControl";

// Standard run-time error numbers the library raises.
enum RuntimeErrorNumber : long {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrDivisionByZero = 11,
    kErrTypeMismatch = 13,
    kErrFileNotFound = 53,
    kErrPathAccess = 75,
    kErrObjectNotSet = 91,
    kErrResourceNotFound = 326,
    kErrInvalidPropertyValue = 380,
    kErrNotSupported = 438,
    kErrInvalidPicture = 481,
};

// The platform runtime's text for a standard error number.
std::string ErrorDescription(long number);
[[noreturn]] void RaiseError(long number);
[[noreturn]] void RaiseError(long number, const std::string& description);

// Sets the thread's IErrorInfo from e and returns e's HRESULT.
HRESULT ReportError(const Error& e, REFIID iid);
// Fills an EXCEPINFO the way a dispatch caller expects.
void FillExcepInfo(EXCEPINFO* ei, const Error& e);
// The error a failed COM call stands for (EXCEPINFO first, then IErrorInfo).
Error ErrorFromCom(HRESULT hr, const EXCEPINFO* ei = nullptr);

// Runs f at a COM boundary: errors become HRESULTs with IErrorInfo.
template <class F>
HRESULT ComCall(REFIID iid, F&& f) noexcept {
    try {
        f();
        return S_OK;
    } catch (const Error& e) {
        return ReportError(e, iid);
    } catch (const std::bad_alloc&) {
        return ReportError(Error(kErrOutOfMemory, kErrorSource, ErrorDescription(kErrOutOfMemory)), iid);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

} // namespace glim
