#include "ImageShow.h"

#include "DefaultForm.h"
#include "Form1.h"
#include "FormBuilding.h"
#include "GlimError.h"
#include "Text.h"
#include "Timer.h"
#include "VersoloResourceIds.h"

#include <cmath>
#include <exception>

namespace versolo {

using glim::ComPtr;
using glim::Variant;
using glim::host::HostForm;

namespace {
// Why the main window could not be built, and what to do when the
// controls are not registered (error 429).
void ShowStartFailure(HWND owner, const glim::Error& e) {
    std::wstring text = L"Versolo 无法启动。\r\n\r\n";
    if (e.Number() == 429)
        text += L"GlimForm 控件没有注册，请先运行 regsvr32 GlimForm.dll 注册控件，再启动 Versolo。\r\n\r\n";
    text += glim::Widen(e.Description()) + L" (" + std::to_wstring(e.Number()) + L")";
    MessageBoxW(owner, text.c_str(), L"Versolo", MB_OK | MB_ICONERROR);
}
} // namespace

ComPtr<ImageShow> ImageShow::Create() {
    ComPtr<ImageShow> splash(new ImageShow());
    splash->form_ = HostForm::Create("Form2", 7485, 2580);
    HostForm* form = splash->form_.get();
    // A splash has no frame: the picture is all there is.
    HWND hwnd = form->hWnd();
    SetWindowLongPtrA(hwnd, GWL_STYLE,
                      (GetWindowLongPtrA(hwnd, GWL_STYLE) & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
    const long screenW = std::lrint(GetSystemMetrics(SM_CXSCREEN) * HostForm::TwipsPerPixelX());
    const long screenH = std::lrint(GetSystemMetrics(SM_CYSCREEN) * HostForm::TwipsPerPixelY());
    form->Move((screenW - 7485) / 2, (screenH - 2580) / 2, 7485, 2580);
    form->SetBackColor(kFormBack);
    AddPicture(form, "Picture1", versolo::res::kSplash, 0, 0, 7500, 2550);
    ComPtr<glim::MemoryPropertyBag> timer = glim::MemoryPropertyBag::Create();
    timer->Set("Interval", Variant::Long(1200));
    timer->Set("Enabled", Variant::Bool(true));
    splash->timer1_ = dynamic_cast<glim::host::Timer*>(
        form->AddControl("Timer", "Timer1", 0, 0, 0, 0, timer.get())->Builtin());
    ImageShow* self = splash.get();
    splash->timer1_->OnTimer([self] { self->Tick(); });
    // Closed before its tick: a main window built meanwhile must not keep
    // the program running unseen.
    form->OnQueryUnload([] {
        if (Form1* main = glim::host::DefaultForm<Form1>::IfLoaded()) main->Form()->Unload();
        return true;
    });
    return splash;
}

void ImageShow::PrepareMainWindow() {
    // The splash is painted and handed to the screen (the platform does that
    // once the queue is empty) before the build holds the thread.
    HostForm::PumpPending();
    if (!Loaded()) return;
    try {
        glim::host::DefaultForm<Form1>::Get();
    } catch (...) {
        // The tick builds again and reports what stops it.
    }
}

void ImageShow::Tick() {
    // Unloading the splash ends its timer and may drop the last reference.
    ComPtr<ImageShow> keep(this);
    ComPtr<HostForm> form = form_;
    // Once only: a message box's loop below would deliver the tick again.
    timer1_->SetEnabled(false);
    try {
        glim::host::DefaultForm<Form1>::Get().Show();
    } catch (const glim::Error& e) {
        startFailed_ = true;
        ShowStartFailure(form->hWnd(), e);
    } catch (const std::exception& e) {
        startFailed_ = true;
        ShowStartFailure(form->hWnd(),
                         glim::Error(51, "Versolo", std::string("Internal error: ") + e.what()));
    }
    form->Unload();
}

} // namespace versolo
