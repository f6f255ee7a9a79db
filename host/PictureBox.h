#pragma once
// The host's picture box: a window that shows a picture at its top-left
// corner, at the picture's own size, on its back colour.
#include "BuiltinControl.h"
#include "DispatchObject.h"

#include <olectl.h>

namespace glim::host {

class PictureBox : public DispatchObject<PictureBox>, public BuiltinControl {
  public:
    // Draws the whole client area; called by the window procedure.
    void Paint(HDC dc) const;
    static ComPtr<PictureBox> Create();
    void* Find(REFIID iid) { return FindDispatch(iid); }

    IDispatch* Dispatch() override { return static_cast<IDispatch*>(this); }
    const char* TypeName() const override { return "PictureBox"; }
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    HWND Window() const override { return hwnd_; }
    void DestroyWindowNow() override;
    void Load(MemoryPropertyBag* bag) override;
    void Save(MemoryPropertyBag* bag) const override;
    bool TakesFocus() const override { return false; }

    ComPtr<IPictureDisp> Picture() const { return picture_; }
    void SetPicture(IPictureDisp* picture);

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    PictureBox();
    ~PictureBox() override;

    HWND hwnd_ = nullptr;              // the picture box's window
    ComPtr<IPictureDisp> picture_;     // what it shows; may be empty
    OLE_COLOR backColor_ = 0x8000000F; // button face
    long borderStyle_ = 1;             // 0 none, 1 fixed single
};

} // namespace glim::host
