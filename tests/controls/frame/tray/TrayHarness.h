#pragma once
// Doubles for the tray tests: a late-bound form and menu, a window whose
// class procedure records what reaches it, a subclassing client, and a
// stand-in for the shell's notification area that records icon requests.
#include <windows.h>
#include <oaidl.h>

#include <map>
#include <string>
#include <vector>

#include "ComObject.h"
#include "ComPtr.h"
#include "ISubclass.h"
#include "pump.h"

namespace traytest {

using glim::ComPtr;

// An IDispatch with named members; members a test does not give fail with
// DISP_E_UNKNOWNNAME.
class DispatchDouble : public glim::ComObject<DispatchDouble, IDispatch> {
  public:
    void* Find(REFIID riid) {
        return riid == IID_IUnknown || riid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

  protected:
    // Member names, their index is the dispatch identifier.
    virtual const std::vector<std::wstring>& Names() const = 0;
    virtual HRESULT Call(DISPID id, DISPPARAMS* params, VARIANT* result) = 0;
};

// The form: hWnd, Icon, SetFocus, PopupMenu.
class FormDouble : public DispatchDouble {
  public:
    explicit FormDouble(HWND hWnd);
    ~FormDouble() override;
    void SetWindow(HWND hWnd) { hWnd_ = hWnd; }
    HICON IconHandle() const { return icon_; }
    int focusCalls = 0;                // SetFocus calls
    std::vector<IDispatch*> popups;    // the menu of each PopupMenu call
    std::vector<UINT> popupArgCount;   // arguments given to each PopupMenu call
    std::vector<HWND> popupForeground; // the foreground window when each PopupMenu began
    bool failCalls = false;            // SetFocus and PopupMenu raise an error

  protected:
    const std::vector<std::wstring>& Names() const override;
    HRESULT Call(DISPID id, DISPPARAMS* params, VARIANT* result) override;

  private:
    HWND hWnd_;
    HICON icon_;
};

// A menu object: no members of its own, only its identity counts.
class MenuDouble : public DispatchDouble {
  protected:
    const std::vector<std::wstring>& Names() const override;
    HRESULT Call(DISPID, DISPPARAMS*, VARIANT*) override { return DISP_E_MEMBERNOTFOUND; }
};

template <class T, class... A>
ComPtr<T> Make(A&&... a) {
    return ComPtr<T>(new T(std::forward<A>(a)...));
}

// Messages of the recording class procedure, per window and message.
int Received(HWND hWnd, UINT msg);
void ClearReceived();
// What the recording procedure answers to a message; the chain returns it.
LRESULT RecordedResult(UINT msg);

// A top-level window whose class procedure records.
class FormWindow : public glimtest::TestWindow {
  public:
    FormWindow();
    // The class procedure, the one in place before anybody subclassed.
    static WNDPROC ClassProc();
};

WNDPROC CurrentProc(HWND hWnd);

// A subsystem-1 client of one message that calls the previous procedure
// after itself.
class CountingClient : public glim::ISubclass {
  public:
    glim::MsgResponseMode MsgResponse() override { return glim::mrDefaultAfter; }
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override {
        ++calls;
        return 0;
    }
    int calls = 0;
};

// A stand-in for the shell's notification area, found before any other by
// Shell_NotifyIcon.  It keeps the requests the shell library forwards.
struct IconRequest {
    DWORD message; // NIM_ADD, NIM_MODIFY, NIM_DELETE
    HWND hWnd;     // the icon's window
    UINT uID;
    UINT uFlags;
    UINT callback; // uCallbackMessage
    std::wstring tip;
};
class FakeTray : glim::NonCopyable {
  public:
    FakeTray();
    ~FakeTray();
    const std::vector<IconRequest>& Requests() const;
    void Clear();

  private:
    HWND hwnd_ = nullptr;
};

} // namespace traytest
