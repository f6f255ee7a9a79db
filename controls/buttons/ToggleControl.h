#pragma once
// The members the check box and the option button have in common, written
// once over either dual interface: Enabled, Caption, Font, BackColor,
// ForeColor and Style, the key events, and Resize running the layout.
#include "Constituent.h"
#include "Conversions.h"
#include "Text.h"
#include "ToggleParts.h"

namespace glim {

template <class Derived, class Dual>
class ToggleControl : public Control<Derived, Dual>, protected ToggleParts::Owner {
  public:
    STDMETHODIMP get_Enabled(VARIANT_BOOL* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = ToVariantBool(parts.Enabled());
        return S_OK;
    }
    STDMETHODIMP put_Enabled(VARIANT_BOOL New_Enabled) override {
        return this->Member([&] { parts.PutEnabled(New_Enabled != VARIANT_FALSE); });
    }
    STDMETHODIMP get_Caption(BSTR* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = AllocBstr(parts.Caption());
        return S_OK;
    }
    STDMETHODIMP put_Caption(BSTR New_Caption) override {
        return this->Member([&] { parts.PutCaption(NarrowBstr(New_Caption)); });
    }
    STDMETHODIMP get_Font(IFontDisp** pVal) override { return ComPtr<IFontDisp>(parts.Font()).CopyTo(pVal); }
    STDMETHODIMP putref_Font(IFontDisp* New_Font) override {
        return this->Member([&] { parts.PutRefFont(New_Font); });
    }
    STDMETHODIMP get_BackColor(OLE_COLOR* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = parts.BackColor();
        return S_OK;
    }
    STDMETHODIMP put_BackColor(OLE_COLOR New_BackColor) override {
        return this->Member([&] { parts.PutBackColor(New_BackColor); });
    }
    STDMETHODIMP get_ForeColor(OLE_COLOR* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = parts.ForeColor();
        return S_OK;
    }
    STDMETHODIMP put_ForeColor(OLE_COLOR New_ForeColor) override {
        return this->Member([&] { parts.PutForeColor(New_ForeColor); });
    }
    STDMETHODIMP get_Style(MnuStyle* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = static_cast<MnuStyle>(parts.Style());
        return S_OK;
    }
    STDMETHODIMP put_Style(MnuStyle New_Style) override {
        return this->Member([&] { parts.PutStyle(New_Style); });
    }

  protected:
    ToggleControl(const ControlClass& cls, int firstSheet, short rows, short cols)
        : Control<Derived, Dual>(cls), parts(*this, *this, firstSheet, rows, cols) {}

    void OnResize() override { this->Layout(); }
    void OnKeyDown(short& keyCode, short shift) override {
        parts.RaiseKey(toggle_events::KeyDown, keyCode, shift);
    }
    void OnKeyPress(short& keyAscii) override { parts.RaiseKeyPress(keyAscii); }
    void OnKeyUp(short& keyCode, short shift) override {
        parts.RaiseKey(toggle_events::KeyUp, keyCode, shift);
    }

    // Routes the caption's and the glyph's events to the control's own
    // handlers and the timer to poll.  The caption reports where it lies, not
    // where the pointer is; so does the glyph when glyphReportsPlace is set.
    void HookParts(Constituent& glyph, bool glyphReportsPlace, std::function<void()> poll) {
        ConstituentLabel& lbl = parts.Label();
        lbl.Change = [this] { this->Layout(); };
        for (Constituent* part : {static_cast<Constituent*>(&lbl), &glyph}) {
            const bool reportsPlace = part == &lbl || glyphReportsPlace;
            part->Click = [this] { this->OnClick(); };
            part->MouseDown = [this](short b, short s, float x, float y) { this->OnMouseDown(b, s, x, y); };
            part->MouseMove = [this, part, reportsPlace](short b, short s, float x, float y) {
                if (reportsPlace) {
                    x = static_cast<float>(part->Left());
                    y = static_cast<float>(part->Top());
                }
                this->OnMouseMove(b, s, x, y);
            };
            part->MouseUp = [this](short b, short s, float x, float y) { this->OnMouseUp(b, s, x, y); };
        }
        parts.Timer().Timer = std::move(poll);
    }

    // Runs a layout that fixes the control's height, which re-enters Resize;
    // that inner layout has nothing to add.
    template <class F>
    void LayoutOnce(F&& place) {
        if (laying_) return;
        laying_ = true;
        try {
            place();
        } catch (...) {
            laying_ = false;
            throw;
        }
        laying_ = false;
    }

    ToggleParts parts; // caption, timer, sheets, colours, font, skin index

  private:
    bool laying_ = false; // a layout is running
};

} // namespace glim
