#include "FormBuilding.h"

#include "LateBound.h"
#include "OlePictures.h"
#include "PictureBox.h"
#include "Text.h"
#include "GlimError.h"

namespace versolo {

using glim::ComPtr;
using glim::Variant;

void EditorForm::Show() {
    form_->Show();
    SetForegroundWindow(form_->hWnd());
}

std::string Ansi(const std::wstring& text) {
    return glim::Narrow(text);
}

ComPtr<IPictureDisp> ResourcePicture(int id) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        throw glim::Error(326, "Versolo", "Resource with identifier " + std::to_string(id) + " not found");
    return glim::PictureFromBitmap(bitmap, true);
}

void AddPicture(glim::host::HostForm* form, const char* name, int resourceId, long left, long top, long width,
                long height, const std::string& container) {
    ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    bag->Set("BorderStyle", Variant::Long(0));
    bag->Set("BackColor", Variant::Long(static_cast<long>(kFormBack)));
    glim::host::ControlSite* site =
        form->AddControl("PictureBox", name, left, top, width, height, bag.get(), container).get();
    if (auto* box = dynamic_cast<glim::host::PictureBox*>(site->Builtin()))
        box->SetPicture(ResourcePicture(resourceId).get());
}

void AddLabel(glim::host::HostForm* form, const char* name, const std::wstring& caption, OLE_COLOR back,
              long left, long top, long width, long height, const std::string& container) {
    ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    bag->Set("Caption", Variant::String(Ansi(caption)));
    bag->Set("BackColor", Variant::Long(static_cast<long>(back)));
    form->AddControl("Label", name, left, top, width, height, bag.get(), container);
}

} // namespace versolo
