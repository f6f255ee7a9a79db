// Windowless labels, images and shapes drawn in z-order over a surface,
// mouse routing to them, picture boxes and timers, through real windows.
#include "ConstituentHost.h"
#include "ConstituentImage.h"
#include "ConstituentLabel.h"
#include "ConstituentPictureBox.h"
#include "ConstituentShape.h"
#include "ConstituentTimer.h"
#include "Handles.h"
#include "Pictures.h"
#include "Screen.h"
#include "pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace glim;
using glimtest::ClientPixel;

namespace {

constexpr OLE_COLOR kRed = 0x000000FF;
constexpr OLE_COLOR kGreen = 0x0000FF00;
constexpr OLE_COLOR kBlue = 0x00FF0000;
constexpr COLORREF kRedRgb = RGB(255, 0, 0);
constexpr COLORREF kGreenRgb = RGB(0, 255, 0);
constexpr COLORREF kBlueRgb = RGB(0, 0, 255);
constexpr COLORREF kYellowRgb = RGB(255, 255, 0);

// A plain surface window in pixels that records its own mouse events.
class Board : public SurfaceWindow {
  public:
    Board(int w = 200, int h = 120) {
        CreateSurfaceWindow(0, WS_POPUP | WS_VISIBLE, nullptr, RECT{40, 40, 40 + w, 40 + h});
        Canvas().SetScaleMode(kScalePixels);
        Canvas().SetBackColor(kRed);
        Refresh();
    }
    std::vector<std::string> events;

  protected:
    void OnMouseDown(short, short, float, float) override { events.push_back("board down"); }
    void OnClick() override { events.push_back("board click"); }
};

ComPtr<IPictureDisp> SolidPicture(int w, int h, COLORREF rgb) {
    WindowDC screen(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen.get(), w, h);
    {
        OwnedDC dc(CreateCompatibleDC(screen.get()));
        SelectGuard keep(dc.get(), bmp);
        RECT r{0, 0, w, h};
        OwnedBrush brush(CreateSolidBrush(rgb));
        FillRect(dc.get(), &r, brush.get());
    }
    return PictureFromBitmap(bmp, true);
}

// Shows the window's current look and reads one client pixel.
COLORREF Shown(HWND hwnd, int x, int y) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    glimtest::PumpPending();
    return ClientPixel(hwnd, x, y);
}

bool IsDark(COLORREF c) {
    return GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96;
}

// Leftmost column of the rectangle holding a dark pixel, -1 when none.
int FirstDarkColumn(HWND hwnd, const RECT& r) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    WindowDC dc(hwnd);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // One copy, then reads from memory: screen reads one by one are slow.
    OwnedDC mem(CreateCompatibleDC(dc.get()));
    OwnedBitmap bmp(CreateCompatibleBitmap(dc.get(), w, h));
    SelectGuard keep(mem.get(), bmp.get());
    BitBlt(mem.get(), 0, 0, w, h, dc.get(), r.left, r.top, SRCCOPY);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            if (IsDark(GetPixel(mem.get(), x, y))) return r.left + x;
    return -1;
}

void Click(HWND hwnd, int x, int y) {
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

} // namespace

TEST(Constituents, LaterPartsDrawOverEarlierOnesAndZOrderSwapsThem) {
    Board board;
    ConstituentHost host(board);
    host.Attach();
    ConstituentShape shape(host);
    shape.Move(10, 10, 40, 40);
    shape.SetBorderStyle(0);
    shape.SetFillStyle(0);
    shape.SetFillColor(kBlue);
    ConstituentLabel label(host);
    label.Move(30, 30, 40, 20);
    label.SetBackColor(kGreen);

    EXPECT_EQ(Shown(board.hWnd(), 5, 5), kRedRgb);
    EXPECT_EQ(Shown(board.hWnd(), 20, 20), kBlueRgb);
    EXPECT_EQ(Shown(board.hWnd(), 35, 35), kGreenRgb);
    EXPECT_EQ(Shown(board.hWnd(), 65, 45), kGreenRgb);

    label.ZOrder(1);
    EXPECT_EQ(Shown(board.hWnd(), 35, 35), kBlueRgb);
    EXPECT_EQ(Shown(board.hWnd(), 65, 45), kGreenRgb);

    shape.SetVisible(false);
    EXPECT_EQ(Shown(board.hWnd(), 20, 20), kRedRgb);
    EXPECT_EQ(Shown(board.hWnd(), 35, 35), kGreenRgb);

    // Drawing on the surface stays beneath the parts.
    board.Canvas().Box(0, 0, 100, 100, kBlue, true);
    EXPECT_EQ(Shown(board.hWnd(), 35, 35), kGreenRgb);
    EXPECT_EQ(Shown(board.hWnd(), 20, 20), kBlueRgb);
}

TEST(Constituents, PositionsFollowTheContainersScale) {
    Board board;
    ConstituentHost host(board);
    host.Attach();
    ConstituentLabel label(host);
    board.Canvas().SetScaleMode(kScaleTwips);
    const long tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    label.Move(10.0 * tx, 20.0 * ty, 30.0 * tx, 5.0 * ty);
    const RECT r = label.PixelRect();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 40);
    EXPECT_EQ(r.bottom, 25);
    EXPECT_DOUBLE_EQ(label.Width(), 30.0 * tx);
    // The same place read in pixels once the container switches scale.
    board.Canvas().SetScaleMode(kScalePixels);
    EXPECT_DOUBLE_EQ(label.Left(), 10.0);
    EXPECT_THROW(label.Move(0, 0, -1, 5), Error);
}

TEST(Constituents, ShapesFillSquaresAndBorders) {
    Board board;
    ConstituentHost host(board);
    host.Attach();
    ConstituentShape shape(host);
    shape.Move(10, 10, 80, 40);
    shape.SetShape(1); // square: 40 x 40 centred in 80 x 40
    shape.SetBackStyle(1);
    shape.SetBackColor(kGreen);
    shape.SetBorderColor(kBlue);
    EXPECT_EQ(Shown(board.hWnd(), 25, 30), kRedRgb);   // left of the square
    EXPECT_EQ(Shown(board.hWnd(), 50, 30), kGreenRgb); // inside it
    EXPECT_EQ(Shown(board.hWnd(), 30, 30), kBlueRgb);  // its left border
    EXPECT_EQ(Shown(board.hWnd(), 50, 10), kBlueRgb);  // its top border
    EXPECT_THROW(shape.SetShape(6), Error);
    EXPECT_THROW(shape.SetFillStyle(8), Error);
    EXPECT_EQ(shape.Shape(), 1);
}

TEST(Constituents, ImagesTakeThePicturesSizeUnlessStretched) {
    Board board;
    ConstituentHost host(board);
    host.Attach();
    ConstituentImage image(host);
    image.Move(50, 10);
    image.SetPicture(SolidPicture(8, 6, kYellowRgb).get());
    EXPECT_DOUBLE_EQ(image.Width(), 8);
    EXPECT_DOUBLE_EQ(image.Height(), 6);
    EXPECT_EQ(Shown(board.hWnd(), 53, 12), kYellowRgb);
    EXPECT_EQ(Shown(board.hWnd(), 59, 12), kRedRgb);

    image.SetStretch(true);
    image.Move(50, 10, 20, 12);
    EXPECT_EQ(Shown(board.hWnd(), 68, 20), kYellowRgb);
    image.SetVisible(false);
    EXPECT_EQ(Shown(board.hWnd(), 53, 12), kRedRgb);
}

TEST(Constituents, LabelsAlignAndSizeThemselvesToTheirText) {
    Board board;
    ConstituentHost host(board);
    host.Attach();
    ConstituentLabel label(host);
    label.SetBackStyle(0);
    label.SetForeColor(0);
    label.Move(10, 10, 150, 30);
    label.SetCaption("II");
    const RECT r = label.PixelRect();
    const int leftAligned = FirstDarkColumn(board.hWnd(), r);
    ASSERT_GE(leftAligned, 10);
    EXPECT_LT(leftAligned, 20);
    label.SetAlignment(1);
    EXPECT_GT(FirstDarkColumn(board.hWnd(), r), 120);
    label.SetAlignment(2);
    const int centred = FirstDarkColumn(board.hWnd(), r);
    EXPECT_GT(centred, 60);
    EXPECT_LT(centred, 100);
    EXPECT_THROW(label.SetAlignment(3), Error);

    int changes = 0;
    label.Change = [&] { ++changes; };
    label.SetAutoSize(true);
    const double shortWidth = label.Width();
    label.SetCaption("IIWWWWWWWW");
    EXPECT_EQ(changes, 1);
    EXPECT_GT(label.Width(), shortWidth);
    EXPECT_GT(label.Height(), 5);
    EXPECT_LT(label.Height(), 30);
    label.SetCaption("IIWWWWWWWW");
    EXPECT_EQ(changes, 1);
}

TEST(Constituents, MouseInputOverALabelGoesToTheLabel) {
    Board board;
    ConstituentHost host(board);
    host.Attach();
    ConstituentShape shape(host);
    shape.Move(100, 10, 40, 40);
    auto label = std::make_unique<ConstituentLabel>(host);
    label->Move(30, 30, 40, 20);
    std::vector<std::string> events;
    float downX = -1, downY = -1;
    label->MouseDown = [&](short button, short, float x, float y) {
        events.push_back("down " + std::to_string(button));
        downX = x;
        downY = y;
    };
    label->MouseUp = [&](short, short, float, float) { events.push_back("up"); };
    label->Click = [&] { events.push_back("click"); };

    Click(board.hWnd(), 45, 40);
    EXPECT_EQ(events, (std::vector<std::string>{"down 1", "up", "click"}));
    EXPECT_FLOAT_EQ(downX, 15);
    EXPECT_FLOAT_EQ(downY, 10);
    EXPECT_TRUE(board.events.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    // Released outside: the label keeps the press but gets no click.
    events.clear();
    SendMessageA(board.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 40));
    EXPECT_EQ(GetCapture(), board.hWnd());
    SendMessageA(board.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(150, 100));
    EXPECT_EQ(events, (std::vector<std::string>{"down 1", "up"}));

    // Shapes and empty places leave the input to the container.
    Click(board.hWnd(), 110, 20);
    Click(board.hWnd(), 5, 5);
    EXPECT_EQ(board.events,
              (std::vector<std::string>{"board down", "board click", "board down", "board click"}));

    // A handler may delete its own label.
    label->Click = [&] { label.reset(); };
    Click(board.hWnd(), 45, 40);
    EXPECT_FALSE(label);
    board.events.clear();
    Click(board.hWnd(), 45, 40);
    EXPECT_EQ(board.events, (std::vector<std::string>{"board down", "board click"}));
}

TEST(Constituents, PictureBoxesKeepWhatIsDrawnOnThem) {
    Board board;
    ConstituentHost host(board);
    host.Attach();
    ConstituentPictureBox box(host);
    box.Canvas().SetScaleMode(kScalePixels);
    box.Move(20, 20, 60, 40);
    ASSERT_NE(box.hWnd(), nullptr);
    EXPECT_EQ(GetParent(box.hWnd()), board.hWnd());
    RECT r{};
    GetWindowRect(box.hWnd(), &r);
    MapWindowPoints(nullptr, board.hWnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 80);
    EXPECT_EQ(r.bottom, 60);

    box.SetBackColor(kGreen);
    box.Canvas().Box(10, 10, 30, 20, kBlue, true);
    EXPECT_EQ(Shown(box.hWnd(), 15, 15), kBlueRgb);
    EXPECT_EQ(Shown(box.hWnd(), 5, 5), kGreenRgb);

    // Covered and uncovered: the drawing comes back from the surface.
    {
        glimtest::TestWindow cover(WS_POPUP | WS_VISIBLE, 400, 300);
        SetWindowPos(cover, HWND_TOP, 0, 0, 400, 300, SWP_SHOWWINDOW);
        glimtest::PumpPending();
    }
    glimtest::PumpPending();
    EXPECT_EQ(Shown(box.hWnd(), 15, 15), kBlueRgb);

    // Its own parts draw over its surface.
    ConstituentLabel label(box.Constituents());
    label.Move(0, 0, 5, 5);
    label.SetBackColor(kRed);
    EXPECT_EQ(Shown(box.hWnd(), 2, 2), kRedRgb);
    EXPECT_EQ(Shown(box.hWnd(), 15, 15), kBlueRgb);

    // Mouse input reaches the box's events.
    std::vector<std::string> events;
    box.MouseDown = [&](short, short, float x, float y) {
        events.push_back("down " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
    box.Click = [&] { events.push_back("click"); };
    Click(box.hWnd(), 30, 25);
    EXPECT_EQ(events, (std::vector<std::string>{"down 30,25", "click"}));

    box.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(box.hWnd()));
    EXPECT_EQ(Shown(board.hWnd(), 25, 25), kRedRgb);
}

TEST(Constituents, PictureBoxesSizeThemselvesToTheirPicture) {
    Board board;
    ConstituentHost host(board);
    host.Attach();
    ConstituentPictureBox box(host);
    box.Move(10, 10, 50, 50);
    box.SetAutoSize(true);
    box.SetPicture(SolidPicture(12, 9, kYellowRgb).get());
    RECT r{};
    GetClientRect(box.hWnd(), &r);
    EXPECT_EQ(r.right, 12);
    EXPECT_EQ(r.bottom, 9);
    EXPECT_EQ(Shown(box.hWnd(), 11, 8), kYellowRgb);
    // Cls brings the picture back over what was drawn.
    box.Canvas().SetScaleMode(kScalePixels);
    box.Canvas().Box(0, 0, 11, 8, kBlue, true);
    EXPECT_EQ(Shown(box.hWnd(), 5, 5), kBlueRgb);
    box.Cls();
    EXPECT_EQ(Shown(box.hWnd(), 5, 5), kYellowRgb);
}

TEST(Constituents, TimersTickWhileEnabledWithAnInterval) {
    ConstituentTimer timer;
    int ticks = 0;
    timer.Timer = [&] { ++ticks; };
    timer.SetInterval(20);
    EXPECT_TRUE(glimtest::PumpUntil([&] { return ticks >= 3; }, 3000));
    timer.SetEnabled(false);
    const int stopped = ticks;
    glimtest::PumpFor(150);
    EXPECT_EQ(ticks, stopped);

    timer.SetEnabled(true);
    timer.SetInterval(0);
    glimtest::PumpFor(150);
    EXPECT_EQ(ticks, stopped);
    EXPECT_THROW(timer.SetInterval(65536), Error);
    EXPECT_THROW(timer.SetInterval(-1), Error);
    EXPECT_EQ(timer.Interval(), 0);

    // A handler may delete its timer, and errors end only that tick.
    auto once = std::make_unique<ConstituentTimer>();
    int onceTicks = 0;
    once->Timer = [&] {
        ++onceTicks;
        once.reset();
        throw Error(5, "test", "boom");
    };
    once->SetInterval(10);
    EXPECT_TRUE(glimtest::PumpUntil([&] { return !once; }, 3000));
    glimtest::PumpFor(100);
    EXPECT_EQ(onceTicks, 1);
}
