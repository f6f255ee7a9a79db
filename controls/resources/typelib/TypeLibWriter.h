#pragma once
// Writes a type library file from its description with the platform's own
// type-library writer (CreateTypeLib2).
#include <windows.h>
#include <oaidl.h>

#include <stdexcept>
#include <string>

#include "GlimFormControlDesc.h"

namespace glim::typelib {

class WriteError : public std::runtime_error {
  public:
    WriteError(const std::string& what, HRESULT hr) : std::runtime_error(what), hr_(hr) {}
    HRESULT Result() const { return hr_; }

  private:
    HRESULT hr_;
};

// Code page 936 text as UTF-16; throws on bytes that are not valid there.
std::wstring WideFrom936(const char* text);

// Throws WriteError naming the failed step.
void WriteTypeLib(const Library& lib, SYSKIND syskind, const std::wstring& path);

} // namespace glim::typelib
