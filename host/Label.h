#pragma once
// The host's label: a window that paints its caption on its back colour.
#include "BuiltinControl.h"
#include "DispatchObject.h"

namespace glim::host {

class Label : public DispatchObject<Label>, public BuiltinControl {
  public:
    // Draws the whole client area; called by the window procedure.
    void Paint(HDC dc) const;
    static ComPtr<Label> Create();
    void* Find(REFIID iid) { return FindDispatch(iid); }

    IDispatch* Dispatch() override { return static_cast<IDispatch*>(this); }
    const char* TypeName() const override { return "Label"; }
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    HWND Window() const override { return hwnd_; }
    void DestroyWindowNow() override;
    void Load(MemoryPropertyBag* bag) override;
    void Save(MemoryPropertyBag* bag) const override;
    bool TakesFocus() const override { return false; }
    char AccessKey() const override { return AccessKeyOf(caption_); }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    Label();
    ~Label() override;
    void PaintParentBackground(HDC dc) const;

    HWND hwnd_ = nullptr;              // the label's window
    HostForm* form_ = nullptr;         // gives the font; uncounted, the form outlives its controls
    std::string caption_;              // text shown, "&" marks the access key
    OLE_COLOR backColor_ = 0x8000000F; // button face
    OLE_COLOR foreColor_ = 0x80000012; // button text
    long backStyle_ = 1;               // 0 transparent: the parent shows through
};

} // namespace glim::host
