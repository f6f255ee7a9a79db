#include "HandlerGuard.h"

#include "GlimError.h"

#include <new>
#include <string>

namespace glim::host {

namespace {
// The program's own name: its file name without the extension.
std::string ProgramTitle() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    name = name.substr(name.find_last_of("\\/") + 1);
    return name.substr(0, name.find_last_of('.'));
}
} // namespace

void ShowRuntimeError(long number, const std::string& description) {
    // "运行时错误 'n':" then the error's own text.
    const std::string text =
        "\xD4\xCB\xD0\xD0\xCA\xB1\xB4\xED\xCE\xF3 '" + std::to_string(number) + "':\r\n\r\n" + description;
    MessageBoxA(GetActiveWindow(), text.c_str(), ProgramTitle().c_str(), MB_OK | MB_ICONERROR);
}

bool RunHandler(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const glim::Error& e) {
        ShowRuntimeError(e.Number(), e.Description());
    } catch (const std::bad_alloc&) {
        ShowRuntimeError(7, "Out of memory");
    } catch (const std::exception& e) {
        ShowRuntimeError(51, std::string("Internal error: ") + e.what());
    } catch (...) {
        // Nothing a handler throws may cross a window procedure or COM call.
        ShowRuntimeError(51, "Internal error");
    }
    return false;
}

} // namespace glim::host
