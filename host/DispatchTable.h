#pragma once
// Late-bound members of a host object, looked up by name (case-insensitive)
// and invoked by dispatch identifier.
#include "Variant.h"

#include <functional>
#include <string>
#include <vector>

namespace glim::host {

// Arguments of one call in their written order (DISPPARAMS keeps them reversed).
class DispArgs {
  public:
    explicit DispArgs(DISPPARAMS* params) : params_(params) {}
    size_t Count() const { return params_ ? params_->cArgs - params_->cNamedArgs : 0; }
    bool Has(size_t i) const;
    Variant Get(size_t i) const;
    VARIANT* Raw(size_t i) const;

  private:
    DISPPARAMS* params_;
};

class DispatchTable {
  public:
    using Getter = std::function<Variant()>;
    using Setter = std::function<void(const Variant&)>;
    using Method = std::function<Variant(const DispArgs&)>;

    void AddProperty(const char* name, DISPID id, Getter get, Setter put = {});
    void AddMethod(const char* name, DISPID id, Method call);

    bool FindId(const wchar_t* name, DISPID* id) const;
    bool Has(DISPID id) const;
    // DISP_E_MEMBERNOTFOUND when the identifier is not in the table; errors
    // raised by a member come back as DISP_E_EXCEPTION with the EXCEPINFO filled.
    HRESULT Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) const;

  private:
    struct Member {
        std::string name;
        DISPID id;
        Getter get;
        Setter put;
        Method call;
    };
    const Member* Find(DISPID id) const;
    std::vector<Member> members_;
};

// Fills an EXCEPINFO and the thread's error object from a raised error.
HRESULT ReportException(long number, const std::string& source, const std::string& description,
                        EXCEPINFO* info);

} // namespace glim::host
