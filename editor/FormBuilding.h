#pragma once
// What Versolo's three forms share: ANSI texts from the source's Unicode
// ones, pictures from the program's resources, and control placing.
#include "HostForm.h"
#include "RefCounted.h"

#include <olectl.h>
#include <string>

namespace versolo {

// A form of the program: its host form holds the window and every control on it.
class EditorForm : public glim::RefCounted {
  public:
    bool Loaded() const { return form_ && form_->Loaded(); }
    glim::host::HostForm* Form() const { return form_.get(); }
    // Shows the window in front, where a form shown again from a menu must come.
    void Show();

  protected:
    glim::ComPtr<glim::host::HostForm> form_;
};

// A text in the system code page, the way the forms keep their texts.
std::string Ansi(const std::wstring& text);

// A bitmap resource of the program as a picture object that owns it.
glim::ComPtr<IPictureDisp> ResourcePicture(int id);

// The form's window colour and the light colour of the panels.
constexpr OLE_COLOR kFormBack = 0xFAE8DC;

// Places a picture box showing a resource picture.
void AddPicture(glim::host::HostForm* form, const char* name, int resourceId, long left, long top, long width,
                long height, const std::string& container = "");
// Places a label with a caption and a back colour.
void AddLabel(glim::host::HostForm* form, const char* name, const std::wstring& caption, OLE_COLOR back,
              long left, long top, long width, long height, const std::string& container = "");

} // namespace versolo
