#pragma once
// The host's common-dialog control ("MSComDlg.CommonDialog"): the system's
// open and save dialogs.  FileName is emptied before each dialog, so after
// a cancel it is empty rather than the name of an earlier choice.
#include "BuiltinControl.h"
#include "DispatchObject.h"

#include <string>

namespace glim::host {

class CommonDialog : public DispatchObject<CommonDialog>, public BuiltinControl {
  public:
    static ComPtr<CommonDialog> Create();
    void* Find(REFIID iid) { return FindDispatch(iid); }

    IDispatch* Dispatch() override { return static_cast<IDispatch*>(this); }
    const char* TypeName() const override { return "CommonDialog"; }
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    HWND Window() const override { return hwnd_; }
    void DestroyWindowNow() override;
    void Load(MemoryPropertyBag* bag) override;
    void Save(MemoryPropertyBag* bag) const override;
    bool TakesFocus() const override { return false; }

    // "description|pattern|description|pattern..."
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    // OFN_ flags added to the dialog's own (OFN_OVERWRITEPROMPT, ...).
    long Flags() const { return flags_; }
    void SetFlags(long flags) { flags_ = flags; }
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& name) { fileName_ = name; }
    // Run the modal dialog; true when a file was chosen.
    bool ShowOpen();
    bool ShowSave();

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    CommonDialog();
    ~CommonDialog() override;
    bool Show(bool save);

    HWND hwnd_ = nullptr;   // hidden window; its top-level window owns the dialogs
    std::string filter_;    // as the program set it
    long flags_ = 0;        // extra OFN_ flags
    std::wstring fileName_; // the chosen file, empty after a cancel
};

// The system dialog's filter text ("a\0b\0...\0\0") from "a|b|...".
std::wstring DialogFilter(const std::string& filter);

} // namespace glim::host
