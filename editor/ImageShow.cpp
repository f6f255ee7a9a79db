#include "ImageShow.h"

#include "DefaultForm.h"
#include "Form1.h"
#include "FormBuilding.h"
#include "Timer.h"
#include "VersoloResourceIds.h"

#include <cmath>

namespace versolo {

using glim::ComPtr;
using glim::Variant;
using glim::host::HostForm;

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
    auto* timer1 = dynamic_cast<glim::host::Timer*>(
        form->AddControl("Timer", "Timer1", 0, 0, 0, 0, timer.get())->Builtin());
    ImageShow* self = splash.get();
    timer1->OnTimer([self] { self->Tick(); });
    return splash;
}

void ImageShow::Show() {
    form_->Show();
}

void ImageShow::Tick() {
    // Unloading the splash ends its timer and may drop the last reference.
    ComPtr<ImageShow> keep(this);
    ComPtr<HostForm> form = form_;
    glim::host::DefaultForm<Form1>::Get().Show();
    form->Unload();
}

} // namespace versolo
