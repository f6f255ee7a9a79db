#include "LyricsDocument.h"

namespace versolo {

const wchar_t* const kNothingToAdd = L"您还没有填写内容";
const wchar_t* const kHeaderConfirmed =
    L"您现在在确定版权信息无误的情况下可以点击添加完成添加版权信息的工作。";
const wchar_t* const kNoHeaderValues = L"很抱歉，您可能一项版权信息也没有填写。";
const wchar_t* const kHeaderNotReady = L"您可能没有填写版权信息，或者没有点击确定按钮。";
const wchar_t* const kNothingPlaying = L"您还没有打开要播放的歌曲，请先点击打开选择媒体文件。";
const wchar_t* const kCharCountPrefix = L"您已经填写的字符量:";
const wchar_t* const kTimeHint = L"时间格式形如24:01.00\r\n必须为数字形式。";
const wchar_t* const kTitleHint =
    L"请先点击确定，再选择添加，这样在您正式添加之前，还可以修改错的内容，否则您就只能自己修改了。";
const wchar_t* const kOffsetHint = L"偏移量的单位是毫秒。";

namespace {
const wchar_t* const kCrLf = L"\r\n";
}

std::wstring CaptureText(long positionMs) {
    const long pos = positionMs < 0 ? 0 : positionMs;
    const long minutes = pos / 60000, seconds = pos / 1000 % 60, millis = pos % 1000;
    wchar_t fraction[4] = {static_cast<wchar_t>(L'0' + millis / 100),
                           static_cast<wchar_t>(L'0' + millis / 10 % 10),
                           static_cast<wchar_t>(L'0' + millis % 10), L'\0'};
    return std::to_wstring(minutes) + L":" + std::to_wstring(seconds) + L"." + fraction;
}

bool AddLine(std::wstring& document, std::wstring& time, std::wstring& text) {
    if (time.empty() || text.empty()) return false;
    if (!document.empty()) document += kCrLf;
    document += L"[" + time + L"]" + text;
    time.clear();
    text.clear();
    return true;
}

bool ConfirmHeader(const HeaderFields& boxes, HeaderFields& confirmed) {
    if (boxes.title.empty() && boxes.author.empty() && boxes.artist.empty() && boxes.album.empty() &&
        boxes.offset.empty())
        return false;
    confirmed = boxes;
    return true;
}

std::wstring HeaderBlock(const HeaderFields& h) {
    return L"[ti:" + h.title + L"]\r\n[ar:" + h.artist + L"]\r\n[al:" + h.album + L"]\r\n[by:" + h.author +
           L"]\r\n[offset:" + h.offset + L"]\r\n";
}

bool AddHeader(std::wstring& document, const HeaderFields& confirmed) {
    if (confirmed.title.empty() && confirmed.author.empty() && confirmed.artist.empty() &&
        confirmed.album.empty())
        return false;
    document = HeaderBlock(confirmed) + document;
    return true;
}

std::string EncodeLrc(const std::wstring& document, UINT codePage, bool* lossy) {
    const std::wstring text = document + kCrLf;
    BOOL usedDefault = FALSE;
    // UTF-8 has a code for everything and refuses the question.
    const bool utf8 = codePage == CP_UTF8;
    BOOL* ask = utf8 ? nullptr : &usedDefault;
    // A look-alike ("E" for "É") would change the text without a word.
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, ask);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n,
                            nullptr, ask);
    if (lossy) *lossy = usedDefault != FALSE;
    return out;
}

std::optional<std::wstring> DecodeLrc(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) return std::wstring();
    const UINT cp = codePage == CP_ACP ? GetACP() : codePage;
    // Unicode files: read as the code page they would become mojibake.
    if (cp != CP_UTF8 && bytes.starts_with("\xEF\xBB\xBF")) return std::nullopt;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return std::nullopt;
    // A NUL would end the document in the box.
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data(), n);
    return out;
}

} // namespace versolo
