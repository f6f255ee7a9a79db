#pragma once
// What the check box and the option button have in common, written once over
// either interface: the fields and binding rows of their members, the look
// they give the kept values, and the parts they share.
#include "Constituent.h"
#include "ControlBase.h"
#include "Conversions.h"
#include "GlimFormControl.h"
#include "ReentryGuard.h"
#include "RuntimeErrors.h"
#include "Text.h"
#include "ToggleParts.h"

#include <array>
#include <functional>
#include <string>

namespace glim {

template <class Derived, class Dual>
class ToggleControl : public Control<Derived, Dual> {
  protected:
    // A skin index with no sheet: the lookup of a control array element that does not exist.
    static constexpr long kErrNoSheet = 340;

    ToggleControl(const ControlClass& cls, std::span<const Binding<Derived>> bindings, int firstSheet,
                  short sheetRows, short sheetCols)
        : Control<Derived, Dual>(cls, bindings), parts(*this, firstSheet, sheetRows, sheetCols) {}

    // The rows both controls have, with the control's own Value.  Loading
    // reads the value first and applies each key but the skin through its
    // put; the control redraws the glyph for the skin itself.  Enabled tells
    // no one; it and the colours and font only change the look.
    static constexpr std::array<Binding<Derived>, 7> Rows(Binding<Derived> value) {
        value.after = &ToggleControl::DrawState;
        value.flags = kLoadsAsPut;
        return {{
            {"Enabled", {}, nullptr, &ToggleControl::Repaint, kQuiet | kLoadsAsPut},
            value,
            {"Caption", &ToggleControl::Caption, nullptr, &ToggleControl::CaptionChanged, kLoadsAsPut},
            {"Font", &ToggleControl::Font, nullptr, &ToggleControl::Repaint, kLoadsAsPut},
            {"BackColor", &ToggleControl::BackColor, nullptr, &ToggleControl::Repaint, kLoadsAsPut},
            {"ForeColor", &ToggleControl::ForeColor, nullptr, &ToggleControl::Repaint, kLoadsAsPut},
            {"Style", &ToggleControl::Style, nullptr, &ToggleControl::StyleChanged},
        }};
    }

    // The control's own rules: the glyph cell of its value in a state (when
    // the skin has a sheet), and the places of glyph and caption.
    virtual void ShowCell(GlyphState state) = 0;
    virtual void Layout() = 0;

    // The rest cell for the value, the disabled one when disabled.
    void DrawState() { ShowCell(this->Enabled() ? kGlyphNormal : kGlyphDisabled); }

    // Font, colours, caption and glyph as the kept values say.
    void Repaint() {
        this->Canvas().SetFont(Font.get());
        parts.Label().SetFont(Font.get());
        this->Canvas().SetBackColor(BackColor);
        this->Invalidate();
        parts.Label().SetForeColor(this->Enabled() ? ForeColor : kDisabledCaption);
        Layout();
        DrawState();
    }
    void CaptionChanged() {
        parts.Label().SetCaption(Caption);
        Layout();
    }
    // Kept, so it persists; drawing leaves the glyph alone until a skin with a sheet comes.
    void StyleChanged() {
        DrawState();
        if (!GlyphSheets::HasSheet(Style))
            RaiseError(kErrNoSheet, "Control array element '" + std::to_string(Style) + "' doesn't exist");
    }
    // New: the caption label takes the kept text and the look follows; the
    // container hears of the changes the puts would tell it.
    void OnInitProperties() override {
        parts.Label().SetCaption(Caption);
        Repaint();
        for (const char* name : {"Caption", "Value", "Font", "BackColor", "ForeColor"})
            this->PropertyChanged(name);
    }
    // The keys went through their puts; the skin came last.
    void OnReadProperties(const PropertyBag&) override { DrawState(); }

    void OnResize() override { Layout(); }
    void OnMouseDown(short button, short shift, float x, float y) override {
        if (this->Enabled()) ShowCell(kGlyphPressed);
        this->RaiseEvent(toggle_events::MouseDown, button, shift, x, y);
    }
    void OnMouseUp(short button, short shift, float x, float y) override {
        this->RaiseEvent(toggle_events::MouseUp, button, shift, x, y);
    }
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
        const ReentryGuard guard(laying_);
        place();
    }

    ComPtr<IFontDisp> Font;  // the caption's font
    std::string Caption;     // the caption, code page text
    OLE_COLOR BackColor = 0; // the control's background
    OLE_COLOR ForeColor = 0; // the caption's colour while enabled
    short Style = 0;         // skin index; the glyph sheet of the skin
    ToggleParts parts;       // caption, timer, sheets

  private:
    bool laying_ = false; // a layout is running
};

} // namespace glim
