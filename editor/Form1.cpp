#include "Form1.h"

#include "AboutForm.h"
#include "CommonDialog.h"
#include "DefaultForm.h"
#include "FormBuilding.h"
#include "HandlerGuard.h"
#include "Label.h"
#include "LateBound.h"
#include "MMControl.h"
#include "TextBox.h"
#include "Text.h"
#include "TextFile.h"
#include "Timer.h"
#include "GlimError.h"

#include <commdlg.h>

namespace versolo {

using glim::ComPtr;
using glim::MemoryPropertyBag;
using glim::Variant;
using glim::host::HostForm;

namespace {
// Dispatch identifiers of the library's controls.
const DISPID kMnuStyleIdx = 0x68030000, kButtonStyle = 0x68030001, kButtonCaption = 0x68030000, kClick = 1;
const long kMacSkin = 19;
const OLE_COLOR kPanelLabelBack = 0xFCF4EF;
const char* const kLrcFilter = "*.lrc(\xB8\xE8\xB4\xCA\xCE\xC4\xBC\xFE)|*.lrc"; // "*.lrc(歌词文件)|*.lrc"

ComPtr<MemoryPropertyBag> ButtonBag(const std::wstring& caption) {
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    bag->Set("BTYPE", Variant::Long(1));
    std::wstring face = L"宋体";
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = face.data();
    desc.cySize.int64 = 90000; // 9 points
    desc.sWeight = FW_NORMAL;
    desc.sCharset = GB2312_CHARSET;
    ComPtr<IFontDisp> font;
    if (SUCCEEDED(OleCreateFontIndirect(&desc, IID_IFontDisp, font.put_void())))
        bag->Set("FONT", Variant::Object(font.get()));
    bag->Set("COLTYPE", Variant::Long(1));
    bag->Set("FOCUSR", Variant::Bool(true));
    bag->Set("BCOL", Variant::Long(0xE0E0E0));
    bag->Set("BCOLO", Variant::Long(0xE0E0E0));
    bag->Set("FCOL", Variant::Long(0));
    bag->Set("FCOLO", Variant::Long(0));
    bag->Set("MCOL", Variant::Long(0xC0C0C0));
    bag->Set("MPTR", Variant::Long(1));
    bag->Set("Caption", Variant::String(Ansi(caption)));
    return bag;
}

ComPtr<MemoryPropertyBag> PanelBag(const std::wstring& caption, bool lightBack) {
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    if (lightBack) bag->Set("BackLightColor", Variant::Long(static_cast<long>(kFormBack)));
    bag->Set("Caption", Variant::String(Ansi(caption)));
    return bag;
}

ComPtr<MemoryPropertyBag> TextBag(bool document) {
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    if (document) {
        bag->Set("MultiLine", Variant::Bool(true));
        bag->Set("ScrollBars", Variant::Long(3));
    }
    return bag;
}

// Asks before something that cannot be undone; true to go on.
bool Confirm(HWND owner, const std::wstring& text) {
    return MessageBoxW(owner, text.c_str(), L"Versolo", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void ShowFileProblem(HWND owner, const std::wstring& what, const std::wstring& path,
                     const std::wstring& why) {
    const std::wstring text = what + L"\r\n" + path + L"\r\n\r\n" + why;
    MessageBoxW(owner, text.c_str(), L"Versolo", MB_OK | MB_ICONERROR);
}

void ShowFileError(HWND owner, const std::wstring& what, const std::wstring& path, const glim::Error& e) {
    ShowFileProblem(owner, what, path,
                    glim::Widen(e.Description()) + L" (" + std::to_wstring(e.Number()) + L")");
}
} // namespace

ComPtr<Form1> Form1::Create() {
    ComPtr<Form1> main(new Form1());
    try {
        main->Build();
        main->Connect();
    } catch (...) {
        // A half-built window must not keep the program running.
        if (main->form_) main->form_->Unload();
        throw;
    }
    // An error in the load handler is shown; the form still comes up.
    glim::host::RunHandler([&] { main->Load(); });
    return main;
}

template <class T>
T* Form1::Builtin(const char* name) const {
    glim::host::ControlSite* site = form_->Site(name);
    T* control = site ? dynamic_cast<T*>(site->Builtin()) : nullptr;
    if (!control) throw glim::Error(424, "Form1", std::string("Object required: ") + name);
    return control;
}

IDispatch* Form1::Control(const char* name) const {
    glim::host::ControlSite* site = form_->Site(name);
    if (!site || !site->ControlDispatch())
        throw glim::Error(424, "Form1", std::string("Object required: ") + name);
    return site->ControlDispatch().get();
}

void Form1::Build() {
    form_ = HostForm::Create("Versolo V1.20", 9900, 9200);
    HostForm* f = form_.get();
    f->SetClientSize(9735, 8385);
    f->SetBackColor(kFormBack);

    AddLabel(f, "Label1", L"时间", kFormBack, 120, 120, 975, 375);
    f->AddControl("TextBox", "Text3", 840, 120, 2175, 375, TextBag(false).get());
    AddLabel(f, "Label7", L"内容", kFormBack, 4440, 240, 615, 375);
    f->AddControl("TextBox", "Text1", 5160, 120, 2175, 375, TextBag(false).get());
    f->AddControl("GlimFormControl.GlimButton", "GlimButton1", 8280, 120, 1215, 495,
                  ButtonBag(L"加入").get());

    f->AddControl("GlimFormControl.GlimContainr", "GlimContainr3", 0, 600, 2415, 6375,
                  PanelBag(L"选择媒体文件(不支持RM)", false).get());
    ComPtr<MemoryPropertyBag> timer = MemoryPropertyBag::Create();
    timer->Set("Interval", Variant::Long(50));
    timer->Set("Enabled", Variant::Bool(false));
    f->AddControl("Timer", "Timer1", 0, 0, 0, 0, timer.get(), "GlimContainr3");
    f->AddControl("GlimFormControl.GlimButton", "GlimButton4", 360, 3000, 1695, 615, ButtonBag(L"打开").get(),
                  "GlimContainr3");
    f->AddControl("MCI.MMControl", "Binarie", 1200, 2400, 3540, 735, nullptr, "GlimContainr3");
    AddLabel(f, "Label9", L"正在播放：", kPanelLabelBack, 120, 600, 1935, 495, "GlimContainr3");
    AddLabel(f, "Named", L"", kPanelLabelBack, 0, 1080, 2295, 375, "GlimContainr3");
    f->AddControl("GlimFormControl.GlimButton", "GlimButton5", 0, 4080, 2415, 735,
                  ButtonBag(L"插入时间标签/继续播放").get(), "GlimContainr3");
    f->AddControl("GlimFormControl.GlimButton", "GlimButton6", 360, 5160, 1815, 615, ButtonBag(L"暂停").get(),
                  "GlimContainr3");

    f->AddControl("GlimFormControl.GlimContainr", "GlimContainr1", 2520, 600, 7215, 3375,
                  PanelBag(L"版权信息", true).get());
    const struct {
        const char *label, *box;
        const wchar_t* caption;
        long top;
    } header[] = {
        {"Label3", "Text4", L"歌曲名字:", 360}, {"Label4", "Text5", L"您的名字：", 840},
        {"Label5", "Text6", L"歌手：", 1320},   {"Label6", "Text7", L"专辑：", 1800},
        {"Label8", "Text8", L"偏移量：", 2280},
    };
    for (const auto& h : header) {
        AddLabel(f, h.label, h.caption, kFormBack, 120, h.top + 40, 1035, 335, "GlimContainr1");
        f->AddControl("TextBox", h.box, 1200, h.top, 5295, 375, TextBag(false).get(), "GlimContainr1");
    }
    f->AddControl("GlimFormControl.GlimButton", "GlimButton3", 1080, 2760, 2055, 615,
                  ButtonBag(L"确定").get(), "GlimContainr1");
    f->AddControl("GlimFormControl.GlimButton", "GlimButton2", 4320, 2760, 2055, 615,
                  ButtonBag(L"添加").get(), "GlimContainr1");
    f->AddControl("GlimFormControl.GlimForm", "GlimForm1", 480, 1080, 480, 480, nullptr, "GlimContainr1");
    f->AddControl("MSComDlg.CommonDialog", "CODG", 0, 0, 0, 0);

    f->AddControl("GlimFormControl.GlimContainr", "GlimContainr2", 0, 6960, 9735, 1335,
                  PanelBag(L"助手", true).get());
    AddLabel(f, "Label2", L"祝您好运!", kFormBack, 240, 420, 9255, 795, "GlimContainr2");
    f->AddControl("TextBox", "Text2", 2520, 3960, 7215, 3015, TextBag(true).get());

    // The runtime runs every handler inside its guard, which shows what they raise.
    glim::host::HostMenu* file = f->AddMenu(nullptr, "File", Ansi(L"文件")).get();
    f->AddMenu(file, "Save", Ansi(L"保存"))->OnClick([this] { SaveLrcClick(); });
    f->AddMenu(file, "Open", Ansi(L"打开"))->OnClick([this] { OpenLrcClick(); });
    glim::host::HostMenu* help = f->AddMenu(nullptr, "Help", Ansi(L"帮助")).get();
    f->AddMenu(help, "About", Ansi(L"关于"))->OnClick([this] { AboutClick(); });

    text1_ = Builtin<glim::host::TextBox>("Text1");
    text2_ = Builtin<glim::host::TextBox>("Text2");
    text3_ = Builtin<glim::host::TextBox>("Text3");
    text4_ = Builtin<glim::host::TextBox>("Text4");
    text5_ = Builtin<glim::host::TextBox>("Text5");
    text6_ = Builtin<glim::host::TextBox>("Text6");
    text7_ = Builtin<glim::host::TextBox>("Text7");
    text8_ = Builtin<glim::host::TextBox>("Text8");
    label2_ = Builtin<glim::host::Label>("Label2");
    named_ = Builtin<glim::host::Label>("Named");
    timer1_ = Builtin<glim::host::Timer>("Timer1");
    binarie_ = Builtin<glim::host::MMControl>("Binarie");
    codg_ = Builtin<glim::host::CommonDialog>("CODG");
}

void Form1::Connect() {
    const struct {
        const char* button;
        void (Form1::*handler)();
    } clicks[] = {
        {"GlimButton1", &Form1::AddLineClick},       {"GlimButton2", &Form1::AddHeaderClick},
        {"GlimButton3", &Form1::ConfirmHeaderClick}, {"GlimButton4", &Form1::OpenMediaClick},
        {"GlimButton5", &Form1::CaptureClick},       {"GlimButton6", &Form1::PauseClick},
    };
    for (const auto& c : clicks) {
        glim::host::ControlSite* site = form_->Site(c.button);
        if (!site || !site->Events())
            throw glim::Error(424, "Form1", std::string("No events from ") + c.button);
        const auto handler = c.handler;
        site->Events()->On(kClick, [this, handler](glim::host::EventArgs&) { (this->*handler)(); });
    }
    text1_->OnClick([this] { timer1_->SetEnabled(true); });
    text1_->OnLostFocus([this] { timer1_->SetEnabled(false); });
    timer1_->OnTimer([this] { CountTick(); });
    form_->OnQueryUnload([this] { return QueryUnload(); });
    text3_->OnClick([this] { SetStatus(kTimeHint); });
    text4_->OnClick([this] { SetStatus(kTitleHint); });
    text8_->OnClick([this] { SetStatus(kOffsetHint); });
}

void Form1::Load() {
    for (const char* name : {"GlimButton1", "GlimButton2", "GlimButton3"})
        glim::PutProperty(Control(name), kButtonStyle, Variant::Long(kMacSkin));
    glim::PutProperty(Control("GlimForm1"), kMnuStyleIdx, Variant::Long(1));
    for (const char* name : {"GlimButton4", "GlimButton5", "GlimButton6"})
        glim::PutProperty(Control(name), kButtonStyle, Variant::Long(kMacSkin));
}

void Form1::SetStatus(const std::wstring& text) {
    label2_->SetCaption(Ansi(text));
}

void Form1::CountTick() {
    SetStatus(kCharCountPrefix + std::to_wstring(text1_->WideText().size()));
}

void Form1::AddLineClick() {
    std::wstring doc = text2_->WideText(), time = text3_->WideText(), text = text1_->WideText();
    if (!AddLine(doc, time, text)) {
        SetStatus(kNothingToAdd);
        return;
    }
    text2_->SetWideText(doc);
    text1_->SetWideText(L"");
    text3_->SetWideText(L"");
}

void Form1::ConfirmHeaderClick() {
    const HeaderFields boxes{text4_->WideText(), text5_->WideText(), text6_->WideText(), text7_->WideText(),
                             text8_->WideText()};
    SetStatus(ConfirmHeader(boxes, confirmed_) ? kHeaderConfirmed : kNoHeaderValues);
}

void Form1::AddHeaderClick() {
    std::wstring doc = text2_->WideText();
    if (!AddHeader(doc, confirmed_)) {
        SetStatus(kHeaderNotReady);
        return;
    }
    text2_->SetWideText(doc);
}

void Form1::OpenMediaClick() {
    codg_->SetFilter("*.*|*.*");
    codg_->SetFlags(0);
    codg_->SetDefaultExt("");
    codg_->ShowOpen();
    // Nothing chosen: the song that plays goes on where it is.
    if (codg_->FileName().empty()) return;
    binarie_->Command("stop");
    // The player reports a file it cannot play in its error properties;
    // the status line says what went wrong.
    binarie_->SetFileName(codg_->FileName());
    binarie_->Command("OPEN");
    if (binarie_->Error() == 0) binarie_->Command("PLAY");
    named_->SetCaption(Ansi(binarie_->FileName()));
    if (binarie_->Error() != 0) SetStatus(glim::Widen(binarie_->ErrorMessage()));
}

void Form1::CaptureClick() {
    // With nothing open there is no time to take: what the user typed stays.
    if (!binarie_->IsOpen()) {
        SetStatus(kNothingPlaying);
        return;
    }
    binarie_->Command("PAUSE");
    text3_->SetWideText(CaptureText(binarie_->Position()));
    if (HWND box = text1_->Window()) SetFocus(box);
}

void Form1::PauseClick() {
    IDispatch* button = Control("GlimButton6");
    const std::string caption = glim::GetProperty(button, kButtonCaption).ToText();
    if (caption == Ansi(L"暂停")) {
        binarie_->Command("PAUSE");
        glim::PutProperty(button, kButtonCaption, Variant::String(Ansi(L"继续")));
    } else if (caption == Ansi(L"继续")) {
        binarie_->Command("pause");
        glim::PutProperty(button, kButtonCaption, Variant::String(Ansi(L"暂停")));
    }
}

void Form1::OpenLrcClick() {
    codg_->SetFilter(kLrcFilter);
    codg_->SetFlags(0);
    codg_->SetDefaultExt("lrc");
    codg_->ShowOpen();
    const std::wstring path = codg_->FileName();
    if (path.empty()) return;
    std::string bytes;
    try {
        bytes = glim::host::ReadTextFile(path);
    } catch (const glim::Error& e) {
        // The document stays as it was.
        ShowFileError(form_->hWnd(), L"无法打开这个歌词文件：", path, e);
        return;
    }
    const std::optional<std::wstring> document = DecodeLrc(bytes, CP_ACP);
    if (!document) {
        ShowFileProblem(
            form_->hWnd(), L"无法打开这个歌词文件：", path,
            L"它不是用系统的编码保存的（可能是 UTF-8 或 UTF-16 文件），只能打开系统编码的歌词文件。");
        return;
    }
    text2_->SetWideText(*document);
    savedDocument_ = text2_->WideText();
}

void Form1::SaveLrcClick() {
    SaveLrc();
}

bool Form1::SaveLrc() {
    codg_->SetFilter(kLrcFilter);
    // Replacing a file the user did not mean to lose needs a yes.
    codg_->SetFlags(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
    // A bare name gets ".lrc", or the open dialog's filter would hide it.
    codg_->SetDefaultExt("lrc");
    codg_->ShowSave();
    const std::wstring path = codg_->FileName();
    if (path.empty()) return false;
    bool lossy = false;
    const std::wstring document = text2_->WideText();
    const std::string bytes = EncodeLrc(document, CP_ACP, &lossy);
    if (lossy &&
        !Confirm(form_->hWnd(), L"歌词里有些字符无法用系统的编码保存，保存后会变成“?”。\r\n仍然保存吗？"))
        return false;
    try {
        glim::host::WriteTextFile(path, bytes);
    } catch (const glim::Error& e) {
        ShowFileError(form_->hWnd(), L"无法保存到这个文件：", path, e);
        return false;
    }
    savedDocument_ = document;
    return true;
}

bool Form1::QueryUnload() {
    if (text2_->WideText() == savedDocument_) return true;
    switch (MessageBoxW(form_->hWnd(), L"歌词已经修改，还没有保存。\r\n关闭之前要保存吗？", L"Versolo",
                        MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return SaveLrc();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void Form1::AboutClick() {
    glim::host::DefaultForm<AboutForm>::Get().Show();
}

} // namespace versolo
