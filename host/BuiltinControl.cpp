#include "BuiltinControl.h"

#include "Label.h"
#include "TextBox.h"
#include "Text.h"

#include <cctype>

namespace glim::host {

char AccessKeyOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        const auto next = static_cast<unsigned char>(caption[i + 1]);
        if (next == '&') {
            ++i; // a doubled ampersand is a literal one
            continue;
        }
        return static_cast<char>(next < 0x80 ? std::tolower(next) : next);
    }
    return 0;
}

ComPtr<IDispatch> CreateBuiltinControl(const std::string& typeName, BuiltinControl** control) {
    *control = nullptr;
    if (SameName(typeName, "TextBox")) {
        ComPtr<TextBox> box = TextBox::Create();
        *control = box.get();
        return ComPtr<IDispatch>(box->Dispatch());
    }
    if (SameName(typeName, "Label")) {
        ComPtr<Label> label = Label::Create();
        *control = label.get();
        return ComPtr<IDispatch>(label->Dispatch());
    }
    return {};
}

} // namespace glim::host
