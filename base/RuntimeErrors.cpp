#include "RuntimeErrors.h"

#include "ComPtr.h"
#include "Text.h"

namespace glim {

std::string ErrorDescription(long number) {
    switch (number) {
    case kErrInvalidCall:
        return "Invalid procedure call or argument";
    case kErrOverflow:
        return "Overflow";
    case kErrOutOfMemory:
        return "Out of memory";
    case kErrDivisionByZero:
        return "Division by zero";
    case kErrTypeMismatch:
        return "Type mismatch";
    case kErrFileNotFound:
        return "File not found";
    case kErrPathAccess:
        return "Path/File access error";
    case kErrObjectNotSet:
        return "Object variable or With block variable not set";
    case kErrResourceNotFound:
        return "Resource with identifier not found";
    case kErrInvalidPropertyValue:
        return "Invalid property value";
    case kErrNotSupported:
        return "Object doesn't support this property or method";
    case kErrInvalidPicture:
        return "Invalid picture";
    default:
        return "Application-defined or object-defined error";
    }
}

void RaiseError(long number) {
    throw Error(number, kErrorSource, ErrorDescription(number));
}

void RaiseError(long number, const std::string& description) {
    throw Error(number, kErrorSource, description);
}

HRESULT ReportError(const Error& e, REFIID iid) {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        create->SetGUID(iid);
        create->SetSource(const_cast<LPOLESTR>(Widen(e.Source()).c_str()));
        create->SetDescription(const_cast<LPOLESTR>(Widen(e.Description()).c_str()));
        if (auto info = create.As<IErrorInfo>()) SetErrorInfo(0, info.get());
    }
    return e.ToHResult();
}

void FillExcepInfo(EXCEPINFO* ei, const Error& e) {
    if (!ei) return;
    *ei = EXCEPINFO{};
    ei->bstrSource = AllocBstr(e.Source());
    ei->bstrDescription = AllocBstr(e.Description());
    ei->scode = e.ToHResult();
}

namespace {

// Run-time errors travel as 0x800A0000 + n; anything else keeps its value.
long NumberFromHResult(HRESULT hr) {
    const auto u = static_cast<unsigned long>(hr);
    if ((u & 0xFFFF0000u) == 0x800A0000u) return static_cast<long>(u & 0xFFFFu);
    switch (hr) {
    case DISP_E_OVERFLOW:
        return kErrOverflow;
    case DISP_E_TYPEMISMATCH:
        return kErrTypeMismatch;
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND:
        return kErrNotSupported;
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTOPTIONAL:
    case E_INVALIDARG:
        return kErrInvalidCall;
    case E_OUTOFMEMORY:
        return kErrOutOfMemory;
    default:
        return hr;
    }
}

} // namespace

Error ErrorFromCom(HRESULT hr, const EXCEPINFO* ei) {
    if (hr == DISP_E_EXCEPTION && ei) {
        EXCEPINFO copy = *ei;
        if (copy.pfnDeferredFillIn) copy.pfnDeferredFillIn(&copy);
        const HRESULT inner = copy.scode ? copy.scode : static_cast<HRESULT>(0x800A0000u | copy.wCode);
        std::string desc = copy.bstrDescription ? NarrowBstr(copy.bstrDescription) : std::string();
        std::string src = copy.bstrSource ? NarrowBstr(copy.bstrSource) : std::string(kErrorSource);
        const long n = NumberFromHResult(inner);
        if (desc.empty()) desc = ErrorDescription(n);
        return Error(n, src, desc);
    }
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        Bstr src, desc;
        info->GetSource(src.put());
        info->GetDescription(desc.put());
        const long n = NumberFromHResult(hr);
        std::string d = NarrowBstr(desc.get());
        return Error(n, src.get() ? NarrowBstr(src.get()) : std::string(kErrorSource),
                     d.empty() ? ErrorDescription(n) : d);
    }
    const long n = NumberFromHResult(hr);
    return Error(n, kErrorSource, ErrorDescription(n));
}

} // namespace glim
