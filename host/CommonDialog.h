#pragma once
// The host's common-dialog control ("MSComDlg.CommonDialog"): the system's
// open and save dialogs.  FileName is emptied before each dialog, so after
// a cancel it is empty rather than the name of an earlier choice.
#include "IntrinsicControl.h"

namespace glim::host {

class CommonDialog : public IntrinsicControl<CommonDialog> {
  public:
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;

    // "description|pattern|description|pattern..."
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    // OFN_ flags added to the dialog's own (OFN_OVERWRITEPROMPT, ...).
    long Flags() const { return flags_; }
    void SetFlags(long flags) { flags_ = flags; }
    // Added to a name typed without an extension ("lrc"); empty for none.
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& name) { fileName_ = name; }
    // Run the modal dialog; true when a file was chosen.
    bool ShowOpen();
    bool ShowSave();

  private:
    friend class IntrinsicControl<CommonDialog>;
    CommonDialog();
    static std::span<const Member> Members();
    bool Show(bool save);

    std::string filter_;     // as the program set it
    long flags_ = 0;         // extra OFN_ flags
    std::string defaultExt_; // extension given to a bare name, without the point
    std::wstring fileName_;  // the chosen file, empty after a cancel
};

// The system dialog's filter text ("a\0b\0...\0\0") from "a|b|...".
std::wstring DialogFilter(const std::string& filter);

} // namespace glim::host
