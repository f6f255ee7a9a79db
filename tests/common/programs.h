#pragma once
// The test program's own folder, and the windows other programs (or this
// one) show.
#include <windows.h>

#include <string>
#include <vector>

namespace glimtest {

// The folder of the test program, with its trailing separator.
std::string ExeDir();

// The visible top-level windows of a process, topmost first.
std::vector<HWND> VisibleWindowsOf(DWORD pid);
// A window's title.
std::wstring TitleOf(HWND hwnd);

} // namespace glimtest
