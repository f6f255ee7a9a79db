#include "frmAbout.h"

#include "Fonts.h"
#include "Pictures.h"
#include "Screen.h"
#include "SkinResourceIds.h"
#include "Surface.h"

namespace glim {

namespace {

constexpr const char* kLabelCaption = "\xB9\xD8\xB1\xD5"; // 关闭
constexpr double kLabelFontPoints = 9;

thread_local frmAbout* tInstance = nullptr; // the box being shown on this thread

FormDesign AboutDesign() {
    FormDesign d;
    d.captionBar = false;
    d.width = frmAbout::kClientWidth;
    d.height = frmAbout::kClientHeight;
    // Centred on the screen, borderless, so the outer size is the client size.
    const long tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    d.left = (GetSystemMetrics(SM_CXSCREEN) * tx - d.width) / (2 * tx) * tx;
    d.top = (GetSystemMetrics(SM_CYSCREEN) * ty - d.height) / (2 * ty) * ty;
    return d;
}

// 宋体 9 pt with the GB2312 character set, so the code page 936 caption
// reaches the glyphs whatever the system code page is.
ComPtr<IFontDisp> LabelFont() {
    return CreateStdFont(L"\u5B8B\u4F53", kLabelFontPoints, false, GB2312_CHARSET); // 宋体
}

bool InsideLabel(const ConstituentLabel& label, float x, float y) {
    return x >= 0 && y >= 0 && x < label.Width() && y < label.Height();
}

} // namespace

frmAbout::frmAbout() : LibraryForm(AboutDesign()), Label1(Constituents()) {
    Canvas().SetBackColor(kBackColor);
    Label1.Move(kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight);
    Label1.SetBackColor(kLabelBackColor);
    Label1.SetForeColor(kLabelForeColor);
    Label1.SetPlainFont(LabelFont().get());
    Label1.SetCaption(kLabelCaption);
    Label1.MouseMove = [this](short, short, float, float) { SetLabel1ForeColor(kLabelHoverColor); };
    Label1.MouseDown = [this](short button, short, float, float) {
        SetLabel1ForeColor(kLabelPressColor);
        if (button == kLeftButton) leftPressedOnLabel_ = true;
    };
    // The release leaves the colour alone; a left press and release on the
    // label closes the box.
    Label1.MouseUp = [this](short button, short, float x, float y) {
        if (button != kLeftButton) return;
        const bool click = leftPressedOnLabel_ && InsideLabel(Label1, x, y);
        leftPressedOnLabel_ = false;
        if (click) Hide();
    };
}

frmAbout::~frmAbout() = default;

void frmAbout::PlainLabel::SetPlainFont(IFontDisp* font) {
    SetFont(font);
    LOGFONTA lf{};
    if (!GetObjectA(FontHandle(Font()), sizeof lf, &lf)) return;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    plain_.reset(CreateFontIndirectA(&lf));
}

void frmAbout::PlainLabel::Draw(HDC dc) {
    if (!plain_) {
        ConstituentLabel::Draw(dc);
        return;
    }
    RECT r = PixelRect();
    const OwnedBrush back(CreateSolidBrush(TranslateColorOrRaise(BackColor())));
    FillRect(dc, &r, back.get());
    const SelectGuard keep(dc, plain_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TranslateColorOrRaise(ForeColor()));
    DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &r,
              DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

frmAbout* frmAbout::Instance() {
    return tInstance;
}

HWND frmAbout::Window() {
    return tInstance ? tInstance->hWnd() : nullptr;
}

void frmAbout::ShowModal() {
    if (tInstance) {
        // Already modal further up this thread's stack.
        if (HWND h = tInstance->hWnd()) SetForegroundWindow(h);
        return;
    }
    frmAbout box;
    struct Current {
        explicit Current(frmAbout* box) { tInstance = box; }
        ~Current() { tInstance = nullptr; }
    } current(&box);
    // Called from a window procedure: a box that cannot be made is no box.
    try {
        box.Show(true);
    } catch (const Error&) {
    }
}

void frmAbout::OnLoad() {
    // The picture is the library's own resource; without it the box stays white.
    try {
        SetPicture(LoadResPicture(GLIM_RES_ABOUT, kResBitmap).get());
    } catch (const Error&) {
    }
}

void frmAbout::OnShow() {
    // Opened from the tray, the program may not be in front.
    SetForegroundWindow(hWnd());
}

void frmAbout::SetLabel1ForeColor(OLE_COLOR color) {
    if (Label1.ForeColor() != color) Label1.SetForeColor(color);
}

void frmAbout::OnMouseMove(short, short, float, float) {
    SetLabel1ForeColor(kLabelFormColor);
}

void frmAbout::OnMouseUp(short button, short, float, float) {
    if (button == kLeftButton) leftPressedOnLabel_ = false;
}

void frmAbout::OnKeyDown(short& keyCode, short) {
    if (keyCode == VK_ESCAPE) Hide();
}

} // namespace glim
