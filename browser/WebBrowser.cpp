#include "browser/WebBrowser.h"

#include "base/TextBuf.h"

#include <oleauto.h>
#include <servprov.h>
#include <shlobj.h>

#include <cwchar>
#include <utility>

namespace {

// The service under which the control answers with its own top window.
const IID& kServiceShellBrowser = IID_IShellBrowser;

constexpr wchar_t kPageWindowClass[] = L"Internet Explorer_Server";

// A temporary compound file for the control, gone when it is released.
constexpr DWORD kStorageMode = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE | STGM_DELETEONRELEASE;

RECT ClientRect(HWND window) {
    RECT rect{};
    if (window) GetClientRect(window, &rect);
    return rect;
}

// Copies text with its terminator into buffer when *count units hold it;
// otherwise reports the units needed.
bool CopyOut(const wchar_t* text, size_t length, wchar_t* buffer, size_t* count) {
    if (!buffer || *count < length + 1) {
        *count = length + 1;
        return false;
    }
    CopyText(buffer, *count, text);
    return true;
}

}  // namespace

CWebBrowser::CWebBrowser() = default;

// Normally the view's OnDestroy has given the control back already.
CWebBrowser::~CWebBrowser() { DestroyBrowser(); }

// One table for all five interfaces. The in-place interfaces are answered
// only until the control is active in place: a control that asks again
// afterwards would activate a second time.
HRESULT CWebBrowser::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    struct Entry {
        const IID* iid;
        void* pointer;
        bool onlyWhileInactive;
    };
    const Entry table[] = {
        {&IID_IOleClientSite, static_cast<IOleClientSite*>(this), false},
        {&IID_IUnknown, static_cast<IDispatch*>(this), false},
        {&IID_IDispatch, static_cast<IDispatch*>(this), false},
        {&IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(this), true},
        {&IID_IOleInPlaceFrame, static_cast<IOleInPlaceFrame*>(this), true},
        {&IID_IOleInPlaceUIWindow, static_cast<IOleInPlaceFrame*>(this), true},
        {&DIID_DWebBrowserEvents2, static_cast<IDispatch*>(this), false},
        {&IID_IDocHostUIHandler, static_cast<IDocHostUIHandler*>(this), false},
    };
    for (const Entry& entry : table) {
        if (!IsEqualIID(iid, *entry.iid)) continue;
        if (entry.onlyWhileInactive && active_) return E_NOINTERFACE;
        *object = entry.pointer;
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG CWebBrowser::AddRef() {
    InterlockedIncrement(&refCount_);
    return 0;
}

ULONG CWebBrowser::Release() {
    InterlockedDecrement(&refCount_);
    return 0;
}

HRESULT CWebBrowser::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return E_NOTIMPL;
}

HRESULT CWebBrowser::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT CWebBrowser::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT CWebBrowser::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    return HandleBrowserEvent(id, iid, lcid, flags, params, result, exception, argError);
}

bool CWebBrowser::Navigate(const wchar_t* url, int flags) {
    if (!webBrowser_ || !url) return false;
    ScopedVariant target;
    V_VT(target.Get()) = VT_BSTR;
    V_BSTR(target.Get()) = SysAllocString(url);
    if (!V_BSTR(target.Get())) return false;
    ScopedVariant navigationFlags;
    V_VT(navigationFlags.Get()) = VT_I4;
    V_I4(navigationFlags.Get()) = flags;
    return SUCCEEDED(webBrowser_->Navigate2(target.Get(), navigationFlags.Get(), nullptr, nullptr, nullptr));
}

bool CWebBrowser::LoadHtml(const wchar_t* html) {
    if (!html || !webBrowser_) return false;
    ScopedVariant blank;
    V_VT(blank.Get()) = VT_BSTR;
    V_BSTR(blank.Get()) = SysAllocString(L"about:blank");
    webBrowser_->Navigate2(blank.Get(), nullptr, nullptr, nullptr, nullptr);

    ComPtr<IHTMLDocument2> document = GetDocument2();
    if (!document) return false;
    // Destroying the array frees the string in its element.
    ScopedSafeArray lines(SafeArrayCreateVector(VT_VARIANT, 0, 1));
    if (!lines) return false;
    bool written = false;
    VARIANT* line = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(lines.Get(), reinterpret_cast<void**>(&line)))) {
        V_VT(line) = VT_BSTR;
        V_BSTR(line) = SysAllocString(html);
        SafeArrayUnaccessData(lines.Get());
        written = V_BSTR(line) && SUCCEEDED(document->write(lines.Get()));
        document->close();
    }
    return written;
}

bool CWebBrowser::GetBodyHtml(wchar_t* buffer, size_t* count) {
    if (!buffer || !count) return false;
    ComPtr<IHTMLDocument2> document = GetDocument2();
    ComPtr<IHTMLElement> body;
    if (!document || FAILED(document->get_body(body.Receive())) || !body) return false;
    BSTR raw = nullptr;
    if (FAILED(body->get_innerHTML(&raw)) || !raw) return false;
    ScopedBstr html(raw);
    return CopyOut(html.Get(), wcslen(html.Get()), buffer, count);
}

bool CWebBrowser::ClickElement(const wchar_t* id) {
    if (!id) return false;
    ComPtr<IHTMLElement> element = FindElement(id);
    return element && SUCCEEDED(element->click());
}

bool CWebBrowser::SetElementValue(const wchar_t* id, const wchar_t* value) {
    if (!id || !value) return false;
    ComPtr<IHTMLElement> element = FindElement(id);
    if (!element) return false;
    ScopedBstr name(SysAllocString(L"value"));
    ScopedVariant text;
    V_VT(text.Get()) = VT_BSTR;
    V_BSTR(text.Get()) = SysAllocString(value);
    if (!name || !V_BSTR(text.Get())) return false;
    return SUCCEEDED(element->setAttribute(name.Get(), *text.Get(), 1));
}

bool CWebBrowser::GetElementValue(const wchar_t* id, wchar_t* buffer, size_t* count) {
    if (!count || !id) return false;
    ComPtr<IHTMLElement> element = FindElement(id);
    if (!element) return false;
    ScopedBstr name(SysAllocString(L"value"));
    ScopedVariant value;
    if (!name || FAILED(element->getAttribute(name.Get(), 0, value.Get()))) return false;
    // An element without a value reads as empty text.
    if (V_VT(value.Get()) == VT_NULL || V_VT(value.Get()) == VT_EMPTY) return CopyOut(L"", 0, buffer, count);
    if (V_VT(value.Get()) != VT_BSTR && FAILED(VariantChangeType(value.Get(), value.Get(), 0, VT_BSTR))) {
        return false;
    }
    const wchar_t* text = V_BSTR(value.Get()) ? V_BSTR(value.Get()) : L"";
    return CopyOut(text, wcslen(text), buffer, count);
}

HRESULT CWebBrowser::SaveObject() { return S_OK; }

HRESULT CWebBrowser::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT CWebBrowser::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_FAIL;
}

HRESULT CWebBrowser::ShowObject() { return S_OK; }
HRESULT CWebBrowser::OnShowWindow(BOOL) { return S_OK; }
HRESULT CWebBrowser::RequestNewObjectLayout() { return S_OK; }

HRESULT CWebBrowser::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = hostWindow_;
    return S_OK;
}

HRESULT CWebBrowser::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT CWebBrowser::CanInPlaceActivate() {
    if (active_) return S_FALSE;
    active_ = 1;
    return S_OK;
}

HRESULT CWebBrowser::OnInPlaceActivate() { return S_OK; }
HRESULT CWebBrowser::OnUIActivate() { return S_OK; }

HRESULT CWebBrowser::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* posRect,
                                      RECT* clipRect, OLEINPLACEFRAMEINFO* frameInfo) {
    if (frame) {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
    }
    if (doc) *doc = nullptr;
    const RECT client = ClientRect(hostWindow_);
    if (posRect) *posRect = client;
    if (clipRect) *clipRect = client;
    if (frameInfo) {
        frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = GetParent(hostWindow_);
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT CWebBrowser::Scroll(SIZE) { return E_NOTIMPL; }
HRESULT CWebBrowser::OnUIDeactivate(BOOL) { return S_OK; }
HRESULT CWebBrowser::OnInPlaceDeactivate() { return S_OK; }
HRESULT CWebBrowser::DiscardUndoState() { return S_OK; }
HRESULT CWebBrowser::DeactivateAndUndo() { return S_OK; }
HRESULT CWebBrowser::OnPosRectChange(const RECT*) { return S_OK; }

HRESULT CWebBrowser::GetBorder(RECT* border) {
    if (!border) return E_POINTER;
    *border = ClientRect(hostWindow_);
    return S_OK;
}

HRESULT CWebBrowser::RequestBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
HRESULT CWebBrowser::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
HRESULT CWebBrowser::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }
HRESULT CWebBrowser::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
HRESULT CWebBrowser::SetMenu(HMENU, HOLEMENU, HWND) { return E_NOTIMPL; }
HRESULT CWebBrowser::RemoveMenus(HMENU) { return E_NOTIMPL; }
HRESULT CWebBrowser::SetStatusText(LPCOLESTR) { return E_NOTIMPL; }
HRESULT CWebBrowser::EnableModeless(BOOL) { return E_NOTIMPL; }
HRESULT CWebBrowser::TranslateAccelerator(MSG*, WORD) { return E_NOTIMPL; }

// S_FALSE: the browser shows its own context menu.
HRESULT CWebBrowser::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }

HRESULT CWebBrowser::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    info->cbSize = sizeof(DOCHOSTUIINFO);
    // The page lays out at the screen's scale instead of being drawn at
    // 96 DPI and stretched.
    info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_DPI_AWARE;
    if (noScroll_) info->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

HRESULT CWebBrowser::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                            IOleInPlaceUIWindow*) {
    return S_OK;
}

HRESULT CWebBrowser::HideUI() { return S_OK; }
HRESULT CWebBrowser::UpdateUI() { return S_OK; }
HRESULT CWebBrowser::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT CWebBrowser::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT CWebBrowser::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT CWebBrowser::TranslateAccelerator(MSG*, const GUID*, DWORD) { return S_FALSE; }

// These four change nothing; their out values are cleared so that the
// browser never takes an uninitialised pointer for an answer.
HRESULT CWebBrowser::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key) *key = nullptr;
    return S_OK;
}

HRESULT CWebBrowser::GetDropTarget(IDropTarget*, IDropTarget** replacement) {
    if (replacement) *replacement = nullptr;
    return S_OK;
}

HRESULT CWebBrowser::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    if (translated) *translated = nullptr;
    return S_OK;
}

HRESULT CWebBrowser::FilterDataObject(IDataObject*, IDataObject** replacement) {
    if (replacement) *replacement = nullptr;
    return S_OK;
}

HRESULT CWebBrowser::GetExternal(IDispatch** external) {
    if (!external) return E_POINTER;
    external_.AddRef();
    *external = &external_;
    return S_OK;
}

bool CWebBrowser::CreateBrowser(HWND hostWindow) {
    if (active_) return false;
    IOleClientSite* site = static_cast<IOleClientSite*>(this);
    if (FAILED(StgCreateDocfile(nullptr, kStorageMode, 0, storage_.Receive())) ||
        FAILED(OleCreate(CLSID_WebBrowser, IID_IOleObject, OLERENDER_DRAW, nullptr, site, storage_.Get(),
                         oleObject_.ReceiveVoid())) ||
        !oleObject_ || FAILED(oleObject_.As(webBrowser_))) {
        DestroyBrowser();
        return false;
    }
    // Without these the page still works; only its keys go untranslated.
    oleObject_.As(inPlaceObject_);
    oleObject_.As(activeObject_);

    hostWindow_ = hostWindow;
    RECT client = ClientRect(hostWindow);
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, hostWindow, &client)) ||
        FAILED(webBrowser_.As(container)) ||
        FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, eventSource_.Receive())) ||
        !eventSource_ || FAILED(eventSource_->Advise(static_cast<IDispatch*>(this), &eventCookie_))) {
        DestroyBrowser();
        return false;
    }
    active_ = 1;
    return true;
}

// The order matters: no event may arrive while the control goes; the
// control leaves the host window before it is closed; and it lets go of
// this site before the last references are dropped.
void CWebBrowser::DestroyBrowser() {
    if (eventSource_ && eventCookie_) eventSource_->Unadvise(eventCookie_);
    eventSource_.Reset();
    eventCookie_ = 0;
    if (inPlaceObject_) inPlaceObject_->InPlaceDeactivate();
    if (oleObject_) {
        oleObject_->Close(OLECLOSE_NOSAVE);
        oleObject_->SetClientSite(nullptr);
    }
    webBrowser_.Reset();
    activeObject_.Reset();
    inPlaceObject_.Reset();
    oleObject_.Reset();
    storage_.Reset();
    hostWindow_ = nullptr;
    browserWindow_ = nullptr;
    active_ = 0;
}

HWND CWebBrowser::GetBrowserWindow() {
    if (browserWindow_ && IsWindow(browserWindow_)) return browserWindow_;
    if (!webBrowser_) return nullptr;
    LookUpBrowserWindow();
    return browserWindow_;
}

void CWebBrowser::LookUpBrowserWindow() {
    ComPtr<IServiceProvider> provider;
    ComPtr<IOleWindow> window;
    if (FAILED(webBrowser_.As(provider)) ||
        FAILED(provider->QueryService(kServiceShellBrowser, IID_IOleWindow, window.ReceiveVoid())) || !window) {
        // Controls that offer no shell browser service (Wine's) still name
        // their in-place window, which is the one to size.
        if (FAILED(webBrowser_.As(window)) || !window) return;
    }
    HWND found = nullptr;
    if (FAILED(window->GetWindow(&found))) found = nullptr;
    browserWindow_ = found;
    if (found && browserWindowHandler_) browserWindowHandler_(found);
}

ComPtr<IHTMLDocument2> CWebBrowser::GetDocument2() {
    ComPtr<IDispatch> document;
    ComPtr<IHTMLDocument2> html;
    if (webBrowser_ && SUCCEEDED(webBrowser_->get_Document(document.Receive())) && document) document.As(html);
    return html;
}

ComPtr<IHTMLDocument3> CWebBrowser::GetDocument3() {
    ComPtr<IDispatch> document;
    ComPtr<IHTMLDocument3> html;
    if (webBrowser_ && SUCCEEDED(webBrowser_->get_Document(document.Receive())) && document) document.As(html);
    return html;
}

ComPtr<IHTMLElement> CWebBrowser::FindElement(const wchar_t* id) {
    ComPtr<IHTMLElement> element;
    ComPtr<IHTMLDocument3> document = GetDocument3();
    ScopedBstr name(SysAllocString(id));
    if (document && name) document->getElementById(name.Get(), element.Receive());
    return element;
}

HRESULT CWebBrowser::TranslateKey(const MSG* msg) {
    if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return S_FALSE;
    if (!webBrowser_) return E_NOTIMPL;
    wchar_t className[64] = {};
    GetClassNameW(msg->hwnd, className, 64);
    if (wcscmp(className, kPageWindowClass) != 0 || !activeObject_) return S_FALSE;
    return activeObject_->TranslateAccelerator(const_cast<MSG*>(msg));
}

void CWebBrowser::SetTitleChangeHandler(TitleChangeHandler handler) { titleChange_ = std::move(handler); }
void CWebBrowser::SetDocumentCompleteHandler(DocumentCompleteHandler handler) {
    documentComplete_ = std::move(handler);
}
void CWebBrowser::SetNavigateCompleteHandler(NavigateCompleteHandler handler) {
    navigateComplete_ = std::move(handler);
}
void CWebBrowser::SetBeforeNavigateHandler(BeforeNavigateHandler handler) { beforeNavigate_ = std::move(handler); }
void CWebBrowser::SetNewWindowHandler(NewWindowHandler handler) { newWindow_ = std::move(handler); }
void CWebBrowser::SetQuitHandler(QuitHandler handler) { quit_ = std::move(handler); }
void CWebBrowser::SetBrowserWindowHandler(BrowserWindowHandler handler) {
    browserWindowHandler_ = std::move(handler);
}
