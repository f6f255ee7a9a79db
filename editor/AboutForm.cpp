#include "AboutForm.h"

#include "FormBuilding.h"
#include "VersoloResourceIds.h"

namespace versolo {

using glim::ComPtr;
using glim::host::HostForm;

ComPtr<AboutForm> AboutForm::Create() {
    ComPtr<AboutForm> about(new AboutForm());
    about->form_ = HostForm::Create(Ansi(L"关于 Versolo 1.20"), 7800, 5000);
    HostForm* form = about->form_.get();
    form->SetClientSize(7740, 4320);
    form->SetBackColor(kFormBack);
    AddPicture(form, "Image1", versolo::res::kAboutBanner, 120, 120, 7500, 2550);
    AddPicture(form, "Image2", versolo::res::kAboutBadge, 240, 2880, 960, 960);
    AddLabel(form, "Label1", L"No Code,No Life.", kFormBack, 1440, 2940, 6000, 375);
    AddLabel(form, "Label2", L"Versolo 1.20 —— 用 GlimForm 控件写成的 LRC 歌词编辑器。", kFormBack, 1440,
             3420, 6000, 735);
    return about;
}

} // namespace versolo
