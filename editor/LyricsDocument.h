#pragma once
// The lyrics work behind Versolo's buttons and menu items, apart from the
// windows: the document is the text of the lyrics box, lines separated by
// CR LF, and every function here edits or encodes that text.
#include <windows.h>

#include <optional>
#include <string>

namespace versolo {

// The header values as typed into the boxes or as confirmed.
struct HeaderFields {
    std::wstring title;  // ti
    std::wstring author; // by: who wrote the lyrics file
    std::wstring artist; // ar
    std::wstring album;  // al
    std::wstring offset; // offset in milliseconds
};

// Status texts.
extern const wchar_t* const kNothingToAdd;    // add line refused
extern const wchar_t* const kHeaderConfirmed; // confirm accepted
extern const wchar_t* const kNoHeaderValues;  // confirm refused
extern const wchar_t* const kHeaderNotReady;  // add header refused
extern const wchar_t* const kNothingPlaying;  // capture with no media open
extern const wchar_t* const kCharCountPrefix; // followed by the count
extern const wchar_t* const kTimeHint;        // click in the time box
extern const wchar_t* const kTitleHint;       // click in the title box
extern const wchar_t* const kOffsetHint;      // click in the offset box

// "M:S.FFF" of a playback position: whole minutes, seconds within the
// minute, milliseconds within the second padded to three digits, so every
// LRC reader takes 65005 ms as 65.005 s.  A negative position counts as 0.
std::wstring CaptureText(long positionMs);

// Appends "[time]text" (after CR LF unless the document is empty) and
// empties both fields; false, with nothing changed, when either is empty.
bool AddLine(std::wstring& document, std::wstring& time, std::wstring& text);

// Copies all five boxes (empty ones too) when at least one holds text.
bool ConfirmHeader(const HeaderFields& boxes, HeaderFields& confirmed);

// The five tag lines, each ended by CR LF.
std::wstring HeaderBlock(const HeaderFields& confirmed);

// Puts the header block in front of the document when the title, author,
// artist or album is set (the offset alone is not enough).
bool AddHeader(std::wstring& document, const HeaderFields& confirmed);

// The bytes of a saved LRC file: the document and one CR LF, in a code
// page.  *lossy tells whether some character had no code there (it is
// written as the code page's default character, never as a look-alike).
std::string EncodeLrc(const std::wstring& document, UINT codePage, bool* lossy);

// The document read from an LRC file's bytes, line ends kept as they are;
// nothing when the bytes are not text in the code page (a byte order mark
// of UTF-8 or UTF-16, a NUL, a sequence the code page does not define).
std::optional<std::wstring> DecodeLrc(const std::string& bytes, UINT codePage);

} // namespace versolo
