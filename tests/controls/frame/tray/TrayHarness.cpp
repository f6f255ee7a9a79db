#include "TrayHarness.h"

#include <olectl.h>

namespace traytest {

namespace {

std::map<std::pair<HWND, UINT>, int> gReceived;
std::vector<IconRequest> gRequests;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++gReceived[{hWnd, msg}];
    if (msg >= WM_USER && msg < WM_APP) return RecordedResult(msg);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// The shell library forwards each request as WM_COPYDATA: dwData is the
// NIM_ code, the data starts with the window (as a Long), the id, the flags,
// the callback message and a 128-character tip.
struct ForwardedIcon {
    LONG hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    WCHAR szTip[128];
};

LRESULT CALLBACK TrayProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        IconRequest r{static_cast<DWORD>(cds->dwData), nullptr, 0, 0, 0, {}};
        if (cds->cbData >= sizeof(ForwardedIcon)) {
            const auto* data = static_cast<const ForwardedIcon*>(cds->lpData);
            r.hWnd = reinterpret_cast<HWND>(static_cast<LONG_PTR>(data->hWnd));
            r.uID = data->uID;
            r.uFlags = data->uFlags;
            r.callback = data->uCallbackMessage;
            r.tip.assign(data->szTip, wcsnlen(data->szTip, 128));
        }
        gRequests.push_back(r);
        return TRUE;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

const char* const kFormClass = "TrayTestForm";

} // namespace

HRESULT DispatchDouble::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        const auto& known = Names();
        for (size_t k = 0; k < known.size(); ++k)
            if (_wcsicmp(known[k].c_str(), names[i]) == 0) ids[i] = static_cast<DISPID>(k + 1);
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT DispatchDouble::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                               UINT*) {
    if (id < 1 || static_cast<size_t>(id) > Names().size()) return DISP_E_MEMBERNOTFOUND;
    return Call(id, params, result);
}

FormDouble::FormDouble(HWND hWnd) : hWnd_(hWnd), icon_(LoadIconA(nullptr, MAKEINTRESOURCEA(32512))) {}

FormDouble::~FormDouble() = default;

const std::vector<std::wstring>& FormDouble::Names() const {
    static const std::vector<std::wstring> names{L"hWnd", L"Icon", L"SetFocus", L"PopupMenu"};
    return names;
}

HRESULT FormDouble::Call(DISPID id, DISPPARAMS* params, VARIANT* result) {
    switch (id) {
    case 1:
        if (result) {
            V_VT(result) = VT_I4;
            V_I4(result) = static_cast<LONG>(reinterpret_cast<LONG_PTR>(hWnd_));
        }
        return S_OK;
    case 2: {
        PICTDESC desc{};
        desc.cbSizeofstruct = sizeof desc;
        desc.picType = PICTYPE_ICON;
        desc.icon.hicon = icon_;
        IPictureDisp* picture = nullptr;
        // The picture does not own the shared system icon.
        if (FAILED(
                OleCreatePictureIndirect(&desc, IID_IPictureDisp, FALSE, reinterpret_cast<void**>(&picture))))
            return E_FAIL;
        if (result) {
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = picture;
        } else {
            picture->Release();
        }
        return S_OK;
    }
    case 3:
        if (failCalls) return E_FAIL;
        ++focusCalls;
        return S_OK;
    case 4: {
        if (failCalls) return E_FAIL;
        popupArgCount.push_back(params ? params->cArgs : 0);
        popupForeground.push_back(GetForegroundWindow());
        IDispatch* menu = nullptr;
        if (params && params->cArgs >= 1) {
            const VARIANT& last = params->rgvarg[params->cArgs - 1];
            if (V_VT(&last) == VT_DISPATCH) menu = V_DISPATCH(&last);
            if (V_VT(&last) == (VT_DISPATCH | VT_BYREF)) menu = *V_DISPATCHREF(&last);
        }
        popups.push_back(menu);
        return S_OK;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

const std::vector<std::wstring>& MenuDouble::Names() const {
    static const std::vector<std::wstring> names;
    return names;
}

int Received(HWND hWnd, UINT msg) {
    const auto it = gReceived.find({hWnd, msg});
    return it == gReceived.end() ? 0 : it->second;
}

void ClearReceived() {
    gReceived.clear();
}

LRESULT RecordedResult(UINT msg) {
    return 0x5000 + static_cast<LRESULT>(msg);
}

WNDPROC FormWindow::ClassProc() {
    return &RecordingProc;
}

namespace {
HWND MakeFormWindow() {
    [[maybe_unused]] static const bool registered = glimtest::RegisterPlainClass(kFormClass, &RecordingProc);
    return CreateWindowExA(0, kFormClass, "tray form", WS_OVERLAPPEDWINDOW, 40, 40, 320, 200, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}
} // namespace

FormWindow::FormWindow() : TestWindow(MakeFormWindow()) {}

WNDPROC CurrentProc(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

FakeTray::FakeTray() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TrayProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&wc);
    // Topmost, so that a window search finds it before any tray of the shell.
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 1, 1,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    gRequests.clear();
}

FakeTray::~FakeTray() {
    if (hwnd_) DestroyWindow(hwnd_);
    UnregisterClassA("Shell_TrayWnd", GetModuleHandleA(nullptr));
}

const std::vector<IconRequest>& FakeTray::Requests() const {
    return gRequests;
}

void FakeTray::Clear() {
    gRequests.clear();
}

} // namespace traytest
