#pragma once
// The balloon tip control: a fixed 32 x 32 picture on the host form whose
// ShowTip hands title, text, icon, colours and font to the thread's one
// balloon, bound to the window under the mouse pointer.
#include "ControlBase.h"
#include "GlimFormControl.h"

#include <string>

namespace glim {

class GlimToolTip final : public Control<GlimToolTip, _GlimToolTip> {
  public:
    static const ControlClass kClass;
    GlimToolTip();

    // _GlimToolTip
    STDMETHODIMP get_BackColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_BackColor(OLE_COLOR New_BackColor) override;
    STDMETHODIMP get_Font(IFontDisp** pVal) override;
    STDMETHODIMP putref_Font(IFontDisp* New_Font) override;
    STDMETHODIMP get_FrameColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_FrameColor(OLE_COLOR New_FrameColor) override;
    STDMETHODIMP get_TipText(BSTR* pVal) override;
    STDMETHODIMP put_TipText(BSTR New_TipText) override;
    STDMETHODIMP get_TitleText(BSTR* pVal) override;
    STDMETHODIMP put_TitleText(BSTR New_TitleText) override;
    STDMETHODIMP get_Icon(IconMode* pVal) override;
    STDMETHODIMP put_Icon(IconMode New_Icon) override;
    STDMETHODIMP ShowTip() override;
    STDMETHODIMP get_Ctrl_hWnd(long* pVal) override;
    STDMETHODIMP put_Ctrl_hWnd(long New_Ctrl_hWnd) override;
    STDMETHODIMP get_TitleColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_TitleColor(OLE_COLOR New_TitleColor) override;
    STDMETHODIMP get_TipColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_TipColor(OLE_COLOR New_TipColor) override;

  protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(const PropertyBag& bag) override;
    void OnWriteProperties(const PropertyBag& bag) override;
    void OnResize() override;

  private:
    HRESULT PutColor(OLE_COLOR& field, OLE_COLOR value, const char* name);
    HRESULT PutText(std::string& field, BSTR value, const char* name);

    OLE_COLOR TitleColor = 0;         // colour of the title
    OLE_COLOR TipColor = 0;           // colour of the text
    long Ctrl_hWnd = 0;               // window the tip is bound to; 0 binds at the first ShowTip
    OLE_COLOR BackColor = 0x009BFFFF; // base of the balloon gradient
    ComPtr<IFontDisp> Font;           // face and size of both balloon labels
    OLE_COLOR FrameColor = 0;         // the balloon's foreground colour
    std::string TipText = "This is the tip!";
    std::string TitleText = "Title";
    long Icon = 2;               // IconMode
    ComPtr<IPictureDisp> Image1; // the 32 x 32 design picture
    bool resizing = false;       // Resize is setting our own size
};

} // namespace glim
