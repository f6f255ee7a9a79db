#pragma once
// The captioned gradient panel: a one-pixel border, an optional header strip
// with a caption over a vertical gradient, and a body gradient.  Hosts place
// their own controls inside its window.
#include "ConstituentHost.h"
#include "ConstituentLabel.h"
#include "ConstituentPictureBox.h"
#include "ControlBase.h"
#include "GlimFormControl.h"

#include <memory>
#include <string>

namespace glim {

// The six colours a theme sets, in the order it sets them.
struct ContainrTheme {
    OLE_COLOR headerLight;
    OLE_COLOR headerDark;
    OLE_COLOR backLight;
    OLE_COLOR backDark;
    OLE_COLOR border;
    OLE_COLOR text;
};
inline constexpr int kContainrThemeCount = 12;
// Theme 0 .. 11; theme 0 also gives every colour's default.
const ContainrTheme& ContainrThemeColors(int theme);

// Rows y0 .. y1 of a vertical gradient, w pixels wide, from light in the
// first row to dark after n - 1 steps; channels are clamped, so rows past
// the last step stay defined.  False when it ended before the first row: a
// colour that cannot be translated, or a box of one row (n - 1 = 0).
bool DrawVerticalGradient(Surface& s, OLE_COLOR light, OLE_COLOR dark, int y0, int y1, int w, int n);

class GlimContainr final : public Control<GlimContainr, _GlimContainr_Stored<GlimContainr>> {
  public:
    static const ControlClass kClass;
    static const Binding<GlimContainr> kBindings[];
    GlimContainr();
    ~GlimContainr() override;

  protected:
    void OnInitialize() override;
    void OnResize() override;
    void OnShow() override;
    void OnTerminate() override;
    // A paint request repaints all, with the system colours of now.
    void OnPaint() override { Redraw(); }
    // A panel, like a frame, passes the focus on rather than taking it.
    bool CanGetFocus() const override { return false; }

  private:
    void ApplyTheme();
    void Layout();
    void Redraw();
    void DrawHeader(OLE_COLOR light, OLE_COLOR dark, OLE_COLOR text);
    void DrawBody(OLE_COLOR light, OLE_COLOR dark);
    void DrawBorder(OLE_COLOR colour);
    int InnerWidth() const;
    int InnerHeight() const;

    OLE_COLOR BackDarkColor = 0;                     // body gradient, bottom
    OLE_COLOR BackLightColor = 0;                    // body gradient, top
    OLE_COLOR BorderColor = 0;                       // the one-pixel frame
    std::string Caption;                             // header text
    OLE_COLOR HeaderDarkColor = 0;                   // header gradient, bottom
    OLE_COLOR HeaderLightColor = 0;                  // header gradient, top
    long Style = 0;                                  // 0: with the header strip
    OLE_COLOR TextColor = 0;                         // caption colour
    long Theme = 0;                                  // the last theme put, 0 .. 11 sets the colours
    OwnedModule shell;                               // shell32, held for the instance's life
    ConstituentHost parts;                           // the header box on the control
    std::unique_ptr<ConstituentPictureBox> Picture1; // header box at (1, 1), 23 pixels high
    std::unique_ptr<ConstituentLabel> Label1;        // caption inside the header box
};

} // namespace glim
