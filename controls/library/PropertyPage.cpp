#include "PropertyPage.h"

#include "ClassFactory.h"
#include "GlimFormControl.h"
#include "ModuleLocks.h"
#include "Text.h"

namespace glim {

namespace {

const PropertyPageClass kPage1{"PropertyPage1", &CLSID_PropertyPage1};
const PropertyPageClass kPage2{"PropertyPage2", &CLSID_PropertyPage2};
const PropertyPageClass* const kPages[] = {&kPage1, &kPage2};

// The size a designer gives the page, in pixels.
constexpr SIZE kPageSize{320, 240};

} // namespace

const PropertyPageClass* FindPropertyPageClass(REFCLSID clsid) {
    for (const PropertyPageClass* page : kPages)
        if (IsEqualCLSID(*page->clsid, clsid)) return page;
    return nullptr;
}

const PropertyPageClass* const* PropertyPageClasses(size_t& count) {
    count = sizeof kPages / sizeof kPages[0];
    return kPages;
}

HRESULT GetPropertyPageClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    const PropertyPageClass* cls = FindPropertyPageClass(clsid);
    if (!cls) return CLASS_E_CLASSNOTAVAILABLE;
    const ComPtr<ClassFactory> factory(new ClassFactory([cls](REFIID pageIid, void** page) {
        // The first reference, so a failed QueryInterface ends the page.
        const ComPtr<PropertyPage> made(new PropertyPage(*cls));
        return made->QueryInterface(pageIid, page);
    }));
    return factory->QueryInterface(iid, ppv);
}

PropertyPage::PropertyPage(const PropertyPageClass& cls) : cls_(cls) {
    LockModule();
}

PropertyPage::~PropertyPage() {
    UnlockModule();
}

STDMETHODIMP PropertyPage::SetPageSite(IPropertyPageSite* site) {
    // A frame sets its site once and clears it before letting go.
    if (site && site_) return E_UNEXPECTED;
    site_ = site;
    return S_OK;
}

STDMETHODIMP PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (!rect) return E_POINTER;
    if (window_) return E_UNEXPECTED;
    window_.reset(CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_CHILD, rect->left, rect->top,
                                  rect->right - rect->left, rect->bottom - rect->top, parent, nullptr,
                                  nullptr, nullptr));
    return window_ ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP PropertyPage::Deactivate() {
    window_.reset();
    return S_OK;
}

STDMETHODIMP PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    const std::wstring title = Widen(cls_.name);
    const size_t bytes = (title.size() + 1) * sizeof(wchar_t);
    auto* text = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!text) return E_OUTOFMEMORY;
    memcpy(text, title.c_str(), bytes);
    // The caller owns the title; the page has no help and no doc string.
    info->cb = sizeof *info;
    info->pszTitle = text;
    info->size = kPageSize;
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

STDMETHODIMP PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    // Nothing to edit: the objects are not kept.
    return count && !objects ? E_POINTER : S_OK;
}

STDMETHODIMP PropertyPage::Show(UINT cmdShow) {
    if (!window_) return E_UNEXPECTED;
    ShowWindow(window_.get(), static_cast<int>(cmdShow));
    return S_OK;
}

STDMETHODIMP PropertyPage::Move(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (!window_) return E_UNEXPECTED;
    MoveWindow(window_.get(), rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               TRUE);
    return S_OK;
}

} // namespace glim
