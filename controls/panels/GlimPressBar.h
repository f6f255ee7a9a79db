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

class GlimPressBar final : public Control<GlimPressBar, _GlimPressBar> {
  public:
    static const ControlClass kClass;
    GlimPressBar();
    ~GlimPressBar() override;

    // _GlimPressBar
    STDMETHODIMP get_Value(long* pVal) override;
    STDMETHODIMP put_Value(long New_Value) override;
    STDMETHODIMP get_Max(long* pVal) override;
    STDMETHODIMP put_Max(long New_Max) override;
    STDMETHODIMP get_Min(long* pVal) override;
    STDMETHODIMP put_Min(long New_Min) override;
    STDMETHODIMP get_BackColor(OLE_COLOR* pVal) override;
    STDMETHODIMP put_BackColor(OLE_COLOR New_BackColor) override;
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
    void OnWriteProperties(const PropertyBag& bag) override;
    void OnResize() override;

  private:
    // Hands a value to a constituent's setter and tells the container.
    template <class F>
    HRESULT PassOn(const char* name, F&& set);

    short Style = 0; // skin index; picks the fill bitmap
    long Value = 0;  // current value
    long Max = 100;  // value of a full bar
    long Min = 0;    // stored and persisted only
    long Unit = 0;   // twips of fill per unit of Value, worked out by the Value setter

    ConstituentHost parts; // draws the three below over the surface
    ConstituentShape Sh;   // the rounded frame, at the back
    ConstituentImage PF;   // the fill, stretched over its width
    ConstituentLabel Lt;   // the percentage, in front
};

} // namespace glim
