#pragma once
// The skinned progress bar: a rounded frame shape, a fill image that grows
// in whole steps of Unit twips and stretches the skin's fill strip, and a
// centred label with the percentage.
#include "ConstituentHost.h"
#include "ConstituentImage.h"
#include "ConstituentLabel.h"
#include "ConstituentShape.h"
#include "ControlBase.h"
#include "GlimFormControl.h"

namespace glim {

class GlimPressBar final : public Control<GlimPressBar, _GlimPressBar_Stored<GlimPressBar>> {
  public:
    static const ControlClass kClass;
    GlimPressBar();
    ~GlimPressBar() override;

    // _GlimPressBar: Max, Min and BackColor are kept by the runtime.
    STDMETHODIMP get_Value(long* pVal) override;
    STDMETHODIMP put_Value(long New_Value) override;
    STDMETHODIMP get_Style(MnuStyle* pVal) override;
    STDMETHODIMP put_Style(MnuStyle New_Style) override;
    STDMETHODIMP get_BorderStyle(BdStyle* pVal) override;
    STDMETHODIMP put_BorderStyle(BdStyle New_BorderStyle) override;
    STDMETHODIMP get_BackStyle(BackStyles* pVal) override;
    STDMETHODIMP put_BackStyle(BackStyles New_BackStyle) override;
    STDMETHODIMP get_BorderColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_BorderColor(OLE_COLOR New_BorderColor) override;
    STDMETHODIMP get_BorderWidth(short* pVal) override;
    STDMETHODIMP put_BorderWidth(short New_BorderWidth) override;
    STDMETHODIMP get_FillColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_FillColor(OLE_COLOR New_FillColor) override;
    STDMETHODIMP get_FillStyle(FillStyleS* pVal) override;
    STDMETHODIMP put_FillStyle(FillStyleS New_FillStyle) override;
    STDMETHODIMP get_ForeColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_ForeColor(OLE_COLOR New_ForeColor) override;

  protected:
    void OnInitialize() override;
    void OnInitProperties() override;
    void OnReadProperties(const PropertyBag& bag) override;
    void OnResize() override;
    void OnRepaint() override;

  private:
    // Hands a value to a constituent's setter, keeps it and tells the
    // container; a refused value is not kept.
    template <class F>
    HRESULT PassOn(DISPID id, const char* name, long value, F&& set);
    // A kept value as a number.
    long Stored(DISPID id);

    // Style, Value, Max and Min live in the runtime's slots.
    long Unit = 0; // twips of fill per unit of Value, worked out by the Value setter

    ConstituentHost parts; // draws the three below over the surface
    ConstituentShape Sh;   // the rounded frame, at the back
    ConstituentImage PF;   // the fill, stretched over its width
    ConstituentLabel Lt;   // the percentage, in front
};

} // namespace glim
