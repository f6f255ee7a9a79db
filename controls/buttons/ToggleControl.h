#pragma once
// What the check box and the option button have in common, written once over
// either interface.  Enabled, Font, BackColor and ForeColor are kept by the
// runtime from the description and only change the look (OnRepaint); the
// runtime answers the gets of Value, Caption and Style, whose puts are
// written here and in each control; the persisted keys are read and written
// by the runtime, which loads them through these puts.
#include "Constituent.h"
#include "ControlBase.h"
#include "Conversions.h"
#include "GlimFormControl.h"
#include "RuntimeErrors.h"
#include "Text.h"
#include "ToggleParts.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace glim {

template <class Derived, class Dual>
class ToggleControl : public Control<Derived, Dual> {
  public:
    STDMETHODIMP put_Caption(BSTR New_Caption) override {
        return this->Member([&] {
            const std::string caption = NarrowBstr(New_Caption);
            this->SetValue("Caption", *Variant::String(Widen(caption).c_str()));
            parts.Label().SetCaption(caption);
            Layout();
            this->PropertyChanged("Caption");
        });
    }
    STDMETHODIMP put_Style(MnuStyle New_Style) override {
        return this->Member([&] {
            // Kept as 16 bits: a value that does not fit overflows before anything is stored.
            this->SetValue("Style", *Variant::Long(New_Style));
            DrawState();
            // Kept, so it persists; drawing leaves the glyph alone until a skin with a sheet comes.
            if (!GlyphSheets::HasSheet(Skin()))
                RaiseError(kErrNoSheet,
                           "Control array element '" + std::to_string(Skin()) + "' doesn't exist");
            this->PropertyChanged("SkinIdx");
        });
    }

  protected:
    // A skin index with no sheet: the lookup of a control array element that does not exist.
    static constexpr long kErrNoSheet = 340;

    ToggleControl(const ControlClass& cls, int firstSheet, short rows, short cols)
        : Control<Derived, Dual>(cls), parts(*this, firstSheet, rows, cols) {}

    // The control's own rules: the rest cell for the value (the disabled
    // one when disabled), and the places of glyph and caption.
    virtual void DrawState() = 0;
    virtual void Layout() = 0;

    short Skin() { return ToShort(*this->Value("Style")); }

    // Font, colours, caption and glyph as the kept values say.
    void OnRepaint() override {
        ComPtr<IFontDisp> font;
        Variant f = this->Value("Font");
        if (f.vt() == VT_DISPATCH && V_DISPATCH(f.get()))
            V_DISPATCH(f.get())->QueryInterface(IID_IFontDisp, font.put_void());
        this->Canvas().SetFont(font.get());
        parts.Label().SetFont(font.get());
        this->Canvas().SetBackColor(static_cast<OLE_COLOR>(ToLong(*this->Value("BackColor"))));
        this->Invalidate();
        parts.Label().SetForeColor(this->Enabled() ? static_cast<OLE_COLOR>(ToLong(*this->Value("ForeColor")))
                                                   : kDisabledCaption);
        Layout();
        DrawState();
    }
    // New: the caption label takes the kept text and the look follows; the
    // container hears of the changes a put would tell it.
    void ApplyKept(std::initializer_list<const char*> told) {
        parts.Label().SetCaption(ToText(*this->Value("Caption")));
        OnRepaint();
        for (const char* name : told)
            this->PropertyChanged(name);
    }

    void OnResize() override { Layout(); }
    void OnKeyDown(short& keyCode, short shift) override {
        this->RaiseEvent(toggle_events::KeyDown, keyCode, shift);
    }
    void OnKeyPress(short& keyAscii) override { this->RaiseEvent(toggle_events::KeyPress, keyAscii); }
    void OnKeyUp(short& keyCode, short shift) override {
        this->RaiseEvent(toggle_events::KeyUp, keyCode, shift);
    }

    // Routes the caption's and the glyph's events to the control's own
    // handlers and the timer to poll.  The caption reports where it lies, not
    // where the pointer is; so does the glyph when glyphReportsPlace is set.
    void HookParts(Constituent& glyph, bool glyphReportsPlace, std::function<void()> poll) {
        ConstituentLabel& lbl = parts.Label();
        lbl.Change = [this] { Layout(); };
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

    ToggleParts parts; // caption, timer, sheets

  private:
    bool laying_ = false; // a layout is running
};

} // namespace glim
