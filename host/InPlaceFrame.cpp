#include "InPlaceFrame.h"

#include "HostForm.h"

namespace glim::host {

void* InPlaceFrame::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
        iid == IID_IOleInPlaceFrame)
        return static_cast<IOleInPlaceFrame*>(this);
    return nullptr;
}

STDMETHODIMP InPlaceFrame::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = form_ ? form_->hWnd() : nullptr;
    return *hwnd ? S_OK : E_FAIL;
}

STDMETHODIMP InPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    if (form_) form_->SetActiveObject(active);
    return S_OK;
}

} // namespace glim::host
