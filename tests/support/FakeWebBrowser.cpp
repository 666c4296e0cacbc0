// The fake browser control. The interfaces it answers are large (the
// document and element interfaces have about a hundred methods each) and a
// host calls only a few, so it is written against the platform's C
// bindings: a vtable starts with every method answering E_NOTIMPL, then
// the methods a host uses are put in. Each method, also the ones that only
// answer E_NOTIMPL, has the exact type of its vtable entry, calling
// convention included, and the compiler holds it to that. Each interface
// pointer handed out is a Face: the COM-visible vtable pointer followed by
// its owner object.
#define CINTERFACE
#define CONST_VTABLE
#define COBJMACROS
#include "tests/support/FakeWebBrowser.h"

#include <ole2.h>
#include <oleauto.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>
#include <servprov.h>
#include <shobjidl.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>

namespace {

// ---------------------------------------------------------------------------
// The scripted web and the logs, shared by the test's threads.

struct WebState {
    std::mutex lock;
    std::map<std::wstring, FakePage> pages;
    FakeBrowserFault fault = FakeBrowserFault::None;
    std::vector<std::wstring> navigations;
    std::vector<std::wstring> openedWindows;
    std::vector<std::wstring> clicks;
    std::vector<std::pair<std::wstring, WPARAM>> offeredKeys;
    int refreshes = 0;
    std::vector<std::pair<int, int>> commands;
    int silent = -1;
    DWORD controlThread = 0;
};

WebState& Web() {
    static WebState state;
    return state;
}

std::atomic<long> g_liveObjects{0};
std::atomic<long> g_liveWindows{0};

FakePage PageFor(const std::wstring& url) {
    WebState& web = Web();
    std::lock_guard<std::mutex> lock(web.lock);
    auto it = web.pages.find(url);
    return it != web.pages.end() ? it->second : FakePage{};
}

FakeBrowserFault Fault() {
    std::lock_guard<std::mutex> lock(Web().lock);
    return Web().fault;
}

template <typename T>
void Log(std::vector<T>& log, T entry) {
    std::lock_guard<std::mutex> lock(Web().lock);
    log.push_back(std::move(entry));
}

// ---------------------------------------------------------------------------
// Vtables and faces.

template <typename Interface, typename Owner>
struct Face {
    Interface com;  // what COM sees: the vtable pointer
    Owner* owner;
};

template <typename Owner, typename Interface>
Owner* OwnerOf(Interface* face) {
    return reinterpret_cast<Face<Interface, Owner>*>(face)->owner;
}

// A method the fake leaves out: it answers as the platform does for a
// method it lacks. It takes exactly the arguments of the method it stands
// for, so that the call is sound in every calling convention, also where
// the callee takes them off the stack.
template <typename... Args>
HRESULT STDMETHODCALLTYPE NotImplemented(Args...) { return E_NOTIMPL; }

template <typename... Args>
using Method = HRESULT(STDMETHODCALLTYPE*)(Args...);

// Becomes NotImplemented of whichever method it initialises.
struct AnyMethod {
    template <typename... Args>
    operator Method<Args...>() const { return &NotImplemented<Args...>; }
};

// IUnknown of a face goes to its owner.
template <typename Owner>
struct OwnerUnknown {
    template <typename Interface>
    static HRESULT STDMETHODCALLTYPE QueryInterface(Interface* self, REFIID iid, void** out) {
        return OwnerOf<Owner>(self)->QueryInterface(iid, out);
    }
    template <typename Interface>
    static ULONG STDMETHODCALLTYPE AddRef(Interface* self) { return OwnerOf<Owner>(self)->AddRef(); }
    template <typename Interface>
    static ULONG STDMETHODCALLTYPE Release(Interface* self) { return OwnerOf<Owner>(self)->Release(); }
};

// Unknown's IUnknown, then AnyMethod for each other method. A vtable holds
// nothing but method pointers, so its size counts them; a miscount does
// not compile (too many initialisers, or one missing under -Werror).
template <typename Vtbl, typename Unknown, size_t... Others>
Vtbl NotImplementedVtbl(std::index_sequence<Others...>) {
    return Vtbl{&Unknown::QueryInterface, &Unknown::AddRef, &Unknown::Release, ((void)Others, AnyMethod{})...};
}

// The one vtable of an interface: fill puts in the methods the fake answers.
template <typename Vtbl, typename Unknown, typename Fill>
const Vtbl* MakeVtbl(Fill fill) {
    static const Vtbl vtbl = [&] {
        auto v = NotImplementedVtbl<Vtbl, Unknown>(std::make_index_sequence<sizeof(Vtbl) / sizeof(void*) - 3>());
        fill(v);
        return v;
    }();
    return &vtbl;
}

// A COM object of the fake: counted while alive, freed with its last
// reference.
class FakeObject {
public:
    FakeObject() { ++g_liveObjects; }
    virtual ~FakeObject() { --g_liveObjects; }
    FakeObject(const FakeObject&) = delete;
    FakeObject& operator=(const FakeObject&) = delete;

    virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
    ULONG AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG Release() {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    // Hands out face after taking a reference for the caller.
    HRESULT Give(void* face, void** out) {
        *out = face;
        AddRef();
        return S_OK;
    }

private:
    LONG refs_ = 0;
};

BSTR AllocText(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

std::wstring TextOf(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

// The URL a VARIANT holds directly or behind a reference.
std::wstring UrlOf(const VARIANT* url) {
    if (!url) return std::wstring();
    if (V_VT(url) == (VT_VARIANT | VT_BYREF)) url = V_VARIANTREF(url);
    if (url && V_VT(url) == VT_BSTR) return TextOf(V_BSTR(url));
    return std::wstring();
}

class FakeControl;

// ---------------------------------------------------------------------------
// Document and elements.

class FakeDocument : public FakeObject {
public:
    FakeDocument(FakeControl* control, FakePage page);

    HRESULT QueryInterface(REFIID iid, void** out) override;

    // The control goes (or shows another document): clicks navigate no more.
    void Detach() { control_ = nullptr; }
    FakeControl* Control() const { return control_; }
    FakePage& Page() { return page_; }

    IHTMLDocument2* Document2() { return &document2_.com; }

private:
    Face<IHTMLDocument2, FakeDocument> document2_;
    Face<IHTMLDocument3, FakeDocument> document3_;
    FakeControl* control_;
    FakePage page_;
};

class FakeHtmlElement : public FakeObject {
public:
    // An element of document by id; an empty id is the body.
    FakeHtmlElement(FakeDocument* document, std::wstring id);
    ~FakeHtmlElement() override { IHTMLDocument2_Release(document_->Document2()); }

    HRESULT QueryInterface(REFIID iid, void** out) override;

    IHTMLElement* Element() { return &element_.com; }
    FakeDocument* Document() const { return document_; }
    const std::wstring& Id() const { return id_; }
    bool IsBody() const { return id_.empty(); }
    // The element's entry in the page, or null for the body.
    FakeElement* Entry() {
        auto it = document_->Page().elements.find(id_);
        return it != document_->Page().elements.end() ? &it->second : nullptr;
    }

private:
    Face<IHTMLElement, FakeHtmlElement> element_;
    FakeDocument* document_;
    std::wstring id_;
};

// ---------------------------------------------------------------------------
// The control.

constexpr wchar_t kEmbeddingClass[] = L"Shell Embedding";
constexpr wchar_t kDocViewClass[] = L"Shell DocObject View";
constexpr wchar_t kServerClass[] = L"Internet Explorer_Server";
constexpr wchar_t kFlashClass[] = L"MacromediaFlashPlayerActiveX";
// Posted to the control's top window: complete navigation wParam.
constexpr UINT kCompleteNavigation = WM_APP + 0x2D1;

class FakeControl : public FakeObject {
public:
    FakeControl();
    ~FakeControl() override;

    HRESULT QueryInterface(REFIID iid, void** out) override;

    // IOleObject
    HRESULT SetClientSite(IOleClientSite* site);
    HRESULT DoVerb(LONG verb, HWND parent);
    HRESULT Close();
    // IOleInPlaceObject
    HRESULT InPlaceDeactivate();
    HWND TopWindow() const { return embedding_; }
    // IOleInPlaceActiveObject
    HRESULT TranslateAccelerator(MSG* msg);
    // IWebBrowser2; a frame of the page's navigates with its own dispatch.
    HRESULT Navigate2(const std::wstring& url, IDispatch* frame = nullptr);
    HRESULT Document(IDispatch** out);
    // Connection point
    HRESULT Advise(IUnknown* sink, DWORD* cookie);
    HRESULT Unadvise(DWORD cookie);

    void CompleteNavigation(WPARAM serial);
    // A player's click in the page: the link the page's script names.
    void FollowClick();
    // What window.open does: NewWindow3, and a window when not cancelled.
    void RequestNewWindow(const std::wstring& url, DWORD flags = NWMF_USERINITED);

    IOleObject* OleObject() { return &oleObject_.com; }
    IDispatch* BrowserDispatch() { return reinterpret_cast<IDispatch*>(&webBrowser_.com); }

private:
    void Fire(DISPID id, VARIANT* args, UINT count);
    void ShowDocument(const std::wstring& url);
    void DestroyWindows();

    Face<IOleObject, FakeControl> oleObject_;
    Face<IOleInPlaceObject, FakeControl> inPlaceObject_;
    Face<IOleInPlaceActiveObject, FakeControl> activeObject_;
    Face<IWebBrowser2, FakeControl> webBrowser_;
    Face<IConnectionPointContainer, FakeControl> container_;
    Face<IConnectionPoint, FakeControl> connectionPoint_;
    Face<IServiceProvider, FakeControl> serviceProvider_;
    Face<IPersistStorage, FakeControl> persistStorage_;

    IOleClientSite* clientSite_ = nullptr;
    IOleInPlaceSite* inPlaceSite_ = nullptr;
    std::map<DWORD, IDispatch*> sinks_;
    DWORD nextCookie_ = 1;
    FakeDocument* document_ = nullptr;
    std::wstring location_;
    WPARAM serial_ = 0;
    HWND embedding_ = nullptr;
    HWND flash_ = nullptr;
    BOOL silent_ = FALSE;
};

// Window procedure of the fake's windows: the top window completes
// navigations and keeps its children filling it.
LRESULT CALLBACK FakeWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE:
        ++g_liveWindows;
        break;
    case WM_NCDESTROY:
        --g_liveWindows;
        break;
    case WM_SIZE: {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (wcscmp(className, kFlashClass) == 0) break;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            GetClassNameW(child, className, 64);
            if (wcscmp(className, kFlashClass) != 0) MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        }
        break;
    }
    case kCompleteNavigation:
        if (auto* control = reinterpret_cast<FakeControl*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            control->CompleteNavigation(wParam);
        }
        return 0;
    case WM_LBUTTONUP:
        // The control is known to its top window, two levels up.
        if (HWND top = GetAncestor(GetParent(window), GA_PARENT)) {
            wchar_t className[64] = {};
            GetClassNameW(top, className, 64);
            auto* control = reinterpret_cast<FakeControl*>(GetWindowLongPtrW(top, GWLP_USERDATA));
            if (wcscmp(className, kEmbeddingClass) == 0 && control) control->FollowClick();
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void RegisterWindowClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const wchar_t* name : {kEmbeddingClass, kDocViewClass, kServerClass, kFlashClass}) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = FakeWindowProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = name;
            RegisterClassExW(&wc);
        }
    });
}

HWND MakeWindow(const wchar_t* className, HWND parent, const RECT& rect) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

// IOleWindow of both in-place faces.
template <typename Interface>
HRESULT STDMETHODCALLTYPE GetTopWindow(Interface* self, HWND* window) {
    *window = OwnerOf<FakeControl>(self)->TopWindow();
    return *window ? S_OK : E_FAIL;
}

const IOleObjectVtbl* OleObjectVtbl() {
    return MakeVtbl<IOleObjectVtbl, OwnerUnknown<FakeControl>>([](auto& v) {
        v.SetClientSite = [](IOleObject* self, IOleClientSite* site) STDMETHODCALLTYPE -> HRESULT {
            return OwnerOf<FakeControl>(self)->SetClientSite(site);
        };
        v.SetHostNames = [](IOleObject*, LPCOLESTR, LPCOLESTR) STDMETHODCALLTYPE -> HRESULT { return S_OK; };
        v.Close = [](IOleObject* self, DWORD) STDMETHODCALLTYPE -> HRESULT {
            return OwnerOf<FakeControl>(self)->Close();
        };
        v.DoVerb = [](IOleObject* self, LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent,
                      LPCRECT) STDMETHODCALLTYPE -> HRESULT {
            return OwnerOf<FakeControl>(self)->DoVerb(verb, parent);
        };
        v.GetMiscStatus = [](IOleObject*, DWORD, DWORD* status) STDMETHODCALLTYPE -> HRESULT {
            *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT;
            return S_OK;
        };
    });
}

const IOleInPlaceObjectVtbl* InPlaceObjectVtbl() {
    return MakeVtbl<IOleInPlaceObjectVtbl, OwnerUnknown<FakeControl>>([](auto& v) {
        v.GetWindow = GetTopWindow;
        v.InPlaceDeactivate = [](IOleInPlaceObject* self) STDMETHODCALLTYPE -> HRESULT {
            return OwnerOf<FakeControl>(self)->InPlaceDeactivate();
        };
        v.UIDeactivate = [](IOleInPlaceObject*) STDMETHODCALLTYPE -> HRESULT { return S_OK; };
    });
}

const IOleInPlaceActiveObjectVtbl* ActiveObjectVtbl() {
    return MakeVtbl<IOleInPlaceActiveObjectVtbl, OwnerUnknown<FakeControl>>([](auto& v) {
        v.GetWindow = GetTopWindow;
        v.TranslateAccelerator = [](IOleInPlaceActiveObject* self, MSG* msg) STDMETHODCALLTYPE -> HRESULT {
            return OwnerOf<FakeControl>(self)->TranslateAccelerator(msg);
        };
    });
}

const IWebBrowser2Vtbl* WebBrowserVtbl() {
    return MakeVtbl<IWebBrowser2Vtbl, OwnerUnknown<FakeControl>>([](auto& v) {
        v.GetTypeInfoCount = [](IWebBrowser2*, UINT* count) STDMETHODCALLTYPE -> HRESULT {
            *count = 0;
            return S_OK;
        };
        v.Navigate2 = [](IWebBrowser2* self, VARIANT* url, VARIANT*, VARIANT*, VARIANT*,
                         VARIANT*) STDMETHODCALLTYPE -> HRESULT {
            if (!url) return E_INVALIDARG;
            return OwnerOf<FakeControl>(self)->Navigate2(UrlOf(url));
        };
        v.Refresh = [](IWebBrowser2*) STDMETHODCALLTYPE -> HRESULT {
            std::lock_guard<std::mutex> lock(Web().lock);
            ++Web().refreshes;
            return S_OK;
        };
        v.get_Document = [](IWebBrowser2* self, IDispatch** out) STDMETHODCALLTYPE -> HRESULT {
            return OwnerOf<FakeControl>(self)->Document(out);
        };
        v.ExecWB = [](IWebBrowser2*, OLECMDID command, OLECMDEXECOPT, VARIANT* in, VARIANT*) STDMETHODCALLTYPE
            -> HRESULT {
            Log(Web().commands, std::make_pair(static_cast<int>(command), in && in->vt == VT_I4 ? static_cast<int>(in->lVal) : -1));
            return S_OK;
        };
        v.put_Silent = [](IWebBrowser2*, VARIANT_BOOL silent) STDMETHODCALLTYPE -> HRESULT {
            std::lock_guard<std::mutex> lock(Web().lock);
            Web().silent = silent;
            return S_OK;
        };
    });
}

const IConnectionPointContainerVtbl* ContainerVtbl() {
    return MakeVtbl<IConnectionPointContainerVtbl, OwnerUnknown<FakeControl>>([](auto& v) {
        v.FindConnectionPoint = [](IConnectionPointContainer* self, REFIID iid,
                                   IConnectionPoint** out) STDMETHODCALLTYPE -> HRESULT {
            *out = nullptr;
            if (!IsEqualIID(iid, DIID_DWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
            return OwnerOf<FakeControl>(self)->QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(out));
        };
    });
}

const IConnectionPointVtbl* ConnectionPointVtbl() {
    return MakeVtbl<IConnectionPointVtbl, OwnerUnknown<FakeControl>>([](auto& v) {
        v.GetConnectionInterface = [](IConnectionPoint*, IID* iid) STDMETHODCALLTYPE -> HRESULT {
            *iid = DIID_DWebBrowserEvents2;
            return S_OK;
        };
        v.Advise = [](IConnectionPoint* self, IUnknown* sink, DWORD* cookie) STDMETHODCALLTYPE -> HRESULT {
            return OwnerOf<FakeControl>(self)->Advise(sink, cookie);
        };
        v.Unadvise = [](IConnectionPoint* self, DWORD cookie) STDMETHODCALLTYPE -> HRESULT {
            return OwnerOf<FakeControl>(self)->Unadvise(cookie);
        };
    });
}

const IServiceProviderVtbl* ServiceProviderVtbl() {
    return MakeVtbl<IServiceProviderVtbl, OwnerUnknown<FakeControl>>([](auto& v) {
        v.QueryService = [](IServiceProvider* self, REFGUID service, REFIID iid,
                            void** out) STDMETHODCALLTYPE -> HRESULT {
            *out = nullptr;
            if (!IsEqualGUID(service, IID_IShellBrowser) || !IsEqualIID(iid, IID_IOleWindow)) return E_NOINTERFACE;
            return OwnerOf<FakeControl>(self)->QueryInterface(IID_IOleWindow, out);
        };
    });
}

const IPersistStorageVtbl* PersistStorageVtbl() {
    return MakeVtbl<IPersistStorageVtbl, OwnerUnknown<FakeControl>>([](auto& v) {
        v.GetClassID = [](IPersistStorage*, CLSID* clsid) STDMETHODCALLTYPE -> HRESULT {
            *clsid = CLSID_WebBrowser;
            return S_OK;
        };
        v.InitNew = [](IPersistStorage*, IStorage*) STDMETHODCALLTYPE -> HRESULT { return S_OK; };
    });
}

FakeControl::FakeControl()
    : oleObject_{{OleObjectVtbl()}, this},
      inPlaceObject_{{InPlaceObjectVtbl()}, this},
      activeObject_{{ActiveObjectVtbl()}, this},
      webBrowser_{{WebBrowserVtbl()}, this},
      container_{{ContainerVtbl()}, this},
      connectionPoint_{{ConnectionPointVtbl()}, this},
      serviceProvider_{{ServiceProviderVtbl()}, this},
      persistStorage_{{PersistStorageVtbl()}, this} {
    std::lock_guard<std::mutex> lock(Web().lock);
    Web().controlThread = GetCurrentThreadId();
}

FakeControl::~FakeControl() {
    DestroyWindows();
    if (document_) {
        document_->Detach();
        document_->Release();
    }
    for (auto& sink : sinks_) IDispatch_Release(sink.second);
    if (inPlaceSite_) IOleInPlaceSite_Release(inPlaceSite_);
    if (clientSite_) IOleClientSite_Release(clientSite_);
}

HRESULT FakeControl::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject)) return Give(&oleObject_, out);
    if (IsEqualIID(iid, IID_IOleInPlaceObject) || IsEqualIID(iid, IID_IOleWindow)) return Give(&inPlaceObject_, out);
    if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) return Give(&activeObject_, out);
    if (IsEqualIID(iid, IID_IWebBrowser2) || IsEqualIID(iid, IID_IWebBrowserApp) ||
        IsEqualIID(iid, IID_IWebBrowser) || IsEqualIID(iid, IID_IDispatch)) {
        return Give(&webBrowser_, out);
    }
    if (IsEqualIID(iid, IID_IConnectionPointContainer)) return Give(&container_, out);
    if (IsEqualIID(iid, IID_IConnectionPoint)) return Give(&connectionPoint_, out);
    if (IsEqualIID(iid, IID_IServiceProvider)) return Give(&serviceProvider_, out);
    if (IsEqualIID(iid, IID_IPersistStorage)) return Give(&persistStorage_, out);
    return E_NOINTERFACE;
}

HRESULT FakeControl::SetClientSite(IOleClientSite* site) {
    if (site) IOleClientSite_AddRef(site);
    if (clientSite_) IOleClientSite_Release(clientSite_);
    clientSite_ = site;
    return S_OK;
}

// In-place activation as the real control does it: ask the site, get the
// window context, then build the windows in the site's window.
HRESULT FakeControl::DoVerb(LONG verb, HWND) {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE) return E_NOTIMPL;
    if (embedding_) return S_OK;
    if (!clientSite_) return E_UNEXPECTED;
    IOleInPlaceSite* site = nullptr;
    if (FAILED(IOleClientSite_QueryInterface(clientSite_, IID_IOleInPlaceSite, reinterpret_cast<void**>(&site)))) {
        return E_NOINTERFACE;
    }
    if (IOleInPlaceSite_CanInPlaceActivate(site) != S_OK || Fault() == FakeBrowserFault::Activate) {
        IOleInPlaceSite_Release(site);
        return E_FAIL;
    }
    IOleInPlaceSite_OnInPlaceActivate(site);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    HWND host = nullptr;
    IOleInPlaceSite_GetWindow(site, &host);
    const HRESULT context = IOleInPlaceSite_GetWindowContext(site, &frame, &document, &position, &clip, &frameInfo);
    if (frame) IOleInPlaceFrame_Release(frame);
    if (document) IOleInPlaceUIWindow_Release(document);
    if (FAILED(context) || !host) {
        IOleInPlaceSite_Release(site);
        return E_FAIL;
    }
    inPlaceSite_ = site;

    RegisterWindowClasses();
    embedding_ = MakeWindow(kEmbeddingClass, host, position);
    SetWindowLongPtrW(embedding_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT inside{0, 0, position.right - position.left, position.bottom - position.top};
    HWND docView = MakeWindow(kDocViewClass, embedding_, inside);
    MakeWindow(kServerClass, docView, inside);
    return S_OK;
}

HRESULT FakeControl::InPlaceDeactivate() {
    DestroyWindows();
    if (inPlaceSite_) {
        IOleInPlaceSite* site = inPlaceSite_;
        inPlaceSite_ = nullptr;
        IOleInPlaceSite_OnInPlaceDeactivate(site);
        IOleInPlaceSite_Release(site);
    }
    return S_OK;
}

HRESULT FakeControl::Close() { return InPlaceDeactivate(); }

void FakeControl::DestroyWindows() {
    if (embedding_) {
        SetWindowLongPtrW(embedding_, GWLP_USERDATA, 0);
        DestroyWindow(embedding_);
    }
    embedding_ = nullptr;
    flash_ = nullptr;
}

HRESULT FakeControl::TranslateAccelerator(MSG* msg) {
    if (!msg) return E_INVALIDARG;
    wchar_t className[64] = {};
    GetClassNameW(msg->hwnd, className, 64);
    Log(Web().offeredKeys, std::make_pair(std::wstring(className), msg->wParam));
    return msg->wParam == VK_F5 ? S_OK : S_FALSE;
}

HRESULT FakeControl::Navigate2(const std::wstring& url, IDispatch* frame) {
    // Kept alive through the events: a handler may let go of the control.
    AddRef();
    VARIANT urlValue, flags, target, postData, headers;
    V_VT(&urlValue) = VT_BSTR;
    V_BSTR(&urlValue) = AllocText(url);
    V_VT(&flags) = VT_I4;
    V_I4(&flags) = 0;
    V_VT(&target) = VT_BSTR;
    V_BSTR(&target) = nullptr;
    VariantInit(&postData);
    V_VT(&headers) = VT_BSTR;
    V_BSTR(&headers) = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[7];
    V_VT(&args[6]) = VT_DISPATCH;
    V_DISPATCH(&args[6]) = frame ? frame : BrowserDispatch();
    VARIANT* refs[] = {&urlValue, &flags, &target, &postData, &headers};
    for (int i = 0; i < 5; ++i) {
        V_VT(&args[5 - i]) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&args[5 - i]) = refs[i];
    }
    V_VT(&args[0]) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&args[0]) = &cancel;
    Fire(DISPID_BEFORENAVIGATE2, args, 7);
    VariantClear(&urlValue);

    if (!cancel) Log(Web().navigations, url);
    if (!cancel && !frame) {
        ShowDocument(url);
        const WPARAM serial = ++serial_;
        if (!embedding_ || !PostMessageW(embedding_, kCompleteNavigation, serial, 0)) CompleteNavigation(serial);
    }
    Release();
    return S_OK;
}

void FakeControl::ShowDocument(const std::wstring& url) {
    location_ = url;
    if (document_) {
        document_->Detach();
        document_->Release();
        document_ = nullptr;
    }
    if (flash_) DestroyWindow(flash_);
    flash_ = nullptr;
    FakePage page = PageFor(url);
    if (page.hasDocument) {
        document_ = new FakeDocument(this, page);
        document_->AddRef();
    }
    if (page.flash && embedding_) {
        HWND docView = GetWindow(embedding_, GW_CHILD);
        HWND server = docView ? GetWindow(docView, GW_CHILD) : nullptr;
        if (server) flash_ = MakeWindow(kFlashClass, server, RECT{10, 10, 110, 110});
    }
}

// The events that follow a navigation, each with the real layout: the
// last parameter first, URLs behind a VARIANT reference.
void FakeControl::CompleteNavigation(WPARAM serial) {
    if (serial != serial_) return;  // superseded by a later navigation
    AddRef();
    const std::wstring url = location_;
    const FakePage page = PageFor(url);
    VARIANT urlValue;
    V_VT(&urlValue) = VT_BSTR;
    V_BSTR(&urlValue) = AllocText(url);
    VARIANT args[2];
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = BrowserDispatch();
    V_VT(&args[0]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[0]) = &urlValue;
    Fire(DISPID_NAVIGATECOMPLETE2, args, 2);
    if (!page.title.empty() && serial == serial_) {
        VARIANT title;
        V_VT(&title) = VT_BSTR;
        V_BSTR(&title) = AllocText(page.title);
        Fire(DISPID_TITLECHANGE, &title, 1);
        VariantClear(&title);
    }
    if (page.completes && serial == serial_) Fire(DISPID_DOCUMENTCOMPLETE, args, 2);
    VariantClear(&urlValue);
    for (const std::wstring& frame : page.frames) {
        if (serial == serial_ && document_) Navigate2(frame, reinterpret_cast<IDispatch*>(document_->Document2()));
    }
    for (const std::wstring& popup : page.popups) {
        if (serial == serial_) RequestNewWindow(popup);
    }
    for (const std::wstring& popup : page.unaskedPopups) {
        if (serial == serial_) RequestNewWindow(popup, 0);
    }
    if (page.quits && serial == serial_) Fire(DISPID_QUIT, nullptr, 0);
    for (const std::wstring& next : page.then) {
        if (serial == serial_) Navigate2(next);
    }
    while (page.hangs && serial == serial_) Sleep(INFINITE);
    Release();
}

void FakeControl::FollowClick() {
    const std::wstring target = PageFor(location_).clickGoesTo;
    if (!target.empty()) Navigate2(target);
}

void FakeControl::RequestNewWindow(const std::wstring& url, DWORD flags) {
    AddRef();
    IDispatch* newWindow = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[5];
    V_VT(&args[4]) = VT_DISPATCH | VT_BYREF;
    V_DISPATCHREF(&args[4]) = &newWindow;
    V_VT(&args[3]) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&args[3]) = &cancel;
    V_VT(&args[2]) = VT_UI4;
    V_UI4(&args[2]) = flags;
    V_VT(&args[1]) = VT_BSTR;
    V_BSTR(&args[1]) = AllocText(location_);
    V_VT(&args[0]) = VT_BSTR;
    V_BSTR(&args[0]) = AllocText(url);
    Fire(DISPID_NEWWINDOW3, args, 5);
    VariantClear(&args[1]);
    VariantClear(&args[0]);
    if (!cancel) Log(Web().openedWindows, url);
    Release();
}

void FakeControl::Fire(DISPID id, VARIANT* args, UINT count) {
    DISPPARAMS params{args, nullptr, count, 0};
    std::vector<IDispatch*> sinks;
    for (auto& sink : sinks_) {
        IDispatch_AddRef(sink.second);
        sinks.push_back(sink.second);
    }
    for (IDispatch* sink : sinks) {
        IDispatch_Invoke(sink, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        IDispatch_Release(sink);
    }
}

HRESULT FakeControl::Document(IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!document_) return S_OK;
    return document_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out));
}

// Asks the sink for the event interface itself, as the real control does.
HRESULT FakeControl::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    if (Fault() == FakeBrowserFault::Advise) return CONNECT_E_CANNOTCONNECT;
    IDispatch* events = nullptr;
    if (FAILED(IUnknown_QueryInterface(sink, DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&events)))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = nextCookie_++;
    sinks_[*cookie] = events;
    return S_OK;
}

HRESULT FakeControl::Unadvise(DWORD cookie) {
    auto it = sinks_.find(cookie);
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    IDispatch* sink = it->second;
    sinks_.erase(it);
    IDispatch_Release(sink);
    return S_OK;
}


// ---------------------------------------------------------------------------
// Document and element vtables.

const IHTMLDocument2Vtbl* Document2Vtbl() {
    return MakeVtbl<IHTMLDocument2Vtbl, OwnerUnknown<FakeDocument>>([](auto& v) {
        v.get_title = [](IHTMLDocument2* self, BSTR* title) STDMETHODCALLTYPE -> HRESULT {
            *title = AllocText(OwnerOf<FakeDocument>(self)->Page().title);
            return S_OK;
        };
        v.get_body = [](IHTMLDocument2* self, IHTMLElement** body) STDMETHODCALLTYPE -> HRESULT {
            auto* element = new FakeHtmlElement(OwnerOf<FakeDocument>(self), L"");
            return element->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(body));
        };
        v.write = [](IHTMLDocument2* self, SAFEARRAY* lines) STDMETHODCALLTYPE -> HRESULT {
            if (!lines) return E_INVALIDARG;
            VARIANT* items = nullptr;
            if (FAILED(SafeArrayAccessData(lines, reinterpret_cast<void**>(&items)))) return E_INVALIDARG;
            for (ULONG i = 0; i < lines->rgsabound[0].cElements; ++i) {
                if (V_VT(&items[i]) == VT_BSTR) OwnerOf<FakeDocument>(self)->Page().body += TextOf(V_BSTR(&items[i]));
            }
            SafeArrayUnaccessData(lines);
            return S_OK;
        };
        v.close = [](IHTMLDocument2*) STDMETHODCALLTYPE -> HRESULT { return S_OK; };
    });
}

const IHTMLDocument3Vtbl* Document3Vtbl() {
    return MakeVtbl<IHTMLDocument3Vtbl, OwnerUnknown<FakeDocument>>([](auto& v) {
        v.getElementById = [](IHTMLDocument3* self, BSTR id, IHTMLElement** out) STDMETHODCALLTYPE -> HRESULT {
            *out = nullptr;
            FakeDocument* document = OwnerOf<FakeDocument>(self);
            const std::wstring key = TextOf(id);
            if (key.empty() || document->Page().elements.count(key) == 0) return S_OK;
            auto* element = new FakeHtmlElement(document, key);
            return element->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(out));
        };
    });
}

const IHTMLElementVtbl* ElementVtbl() {
    return MakeVtbl<IHTMLElementVtbl, OwnerUnknown<FakeHtmlElement>>([](auto& v) {
        v.get_id = [](IHTMLElement* self, BSTR* id) STDMETHODCALLTYPE -> HRESULT {
            *id = AllocText(OwnerOf<FakeHtmlElement>(self)->Id());
            return S_OK;
        };
        v.get_innerText = [](IHTMLElement* self, BSTR* text) STDMETHODCALLTYPE -> HRESULT {
            FakeElement* entry = OwnerOf<FakeHtmlElement>(self)->Entry();
            *text = entry && !entry->innerText.empty() ? AllocText(entry->innerText) : nullptr;
            return S_OK;
        };
        v.get_innerHTML = [](IHTMLElement* self, BSTR* html) STDMETHODCALLTYPE -> HRESULT {
            FakeHtmlElement* element = OwnerOf<FakeHtmlElement>(self);
            if (element->IsBody()) {
                *html = AllocText(element->Document()->Page().body);
            } else {
                FakeElement* entry = element->Entry();
                *html = entry ? AllocText(entry->innerText) : nullptr;
            }
            return S_OK;
        };
        v.getAttribute = [](IHTMLElement* self, BSTR name, LONG, VARIANT* value) STDMETHODCALLTYPE -> HRESULT {
            VariantInit(value);
            FakeElement* entry = OwnerOf<FakeHtmlElement>(self)->Entry();
            if (!entry || TextOf(name) != L"value" || !entry->hasValue) {
                V_VT(value) = VT_NULL;
                return S_OK;
            }
            V_VT(value) = VT_BSTR;
            V_BSTR(value) = AllocText(entry->value);
            return S_OK;
        };
        v.setAttribute = [](IHTMLElement* self, BSTR name, VARIANT value, LONG) STDMETHODCALLTYPE -> HRESULT {
            FakeElement* entry = OwnerOf<FakeHtmlElement>(self)->Entry();
            if (!entry || TextOf(name) != L"value" || V_VT(&value) != VT_BSTR) return E_INVALIDARG;
            entry->value = TextOf(V_BSTR(&value));
            entry->hasValue = true;
            return S_OK;
        };
        v.click = [](IHTMLElement* self) STDMETHODCALLTYPE -> HRESULT {
            FakeHtmlElement* element = OwnerOf<FakeHtmlElement>(self);
            Log(Web().clicks, element->Id());
            FakeElement* entry = element->Entry();
            FakeControl* control = element->Document()->Control();
            if (!entry || !control) return S_OK;
            // Copies: the navigation replaces the page the entry lives in.
            const std::wstring navigateTo = entry->clickNavigatesTo;
            const std::wstring windowUrl = entry->clickOpensWindow;
            if (!windowUrl.empty()) control->RequestNewWindow(windowUrl);
            if (!navigateTo.empty()) control->Navigate2(navigateTo);
            return S_OK;
        };
    });
}

FakeDocument::FakeDocument(FakeControl* control, FakePage page)
    : document2_{{Document2Vtbl()}, this}, document3_{{Document3Vtbl()}, this}, control_(control), page_(std::move(page)) {}

HRESULT FakeDocument::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLDocument) ||
        IsEqualIID(iid, IID_IHTMLDocument2)) {
        return Give(&document2_, out);
    }
    if (IsEqualIID(iid, IID_IHTMLDocument3)) return Give(&document3_, out);
    return E_NOINTERFACE;
}

FakeHtmlElement::FakeHtmlElement(FakeDocument* document, std::wstring id)
    : element_{{ElementVtbl()}, this}, document_(document), id_(std::move(id)) {
    IHTMLDocument2_AddRef(document_->Document2());
}

HRESULT FakeHtmlElement::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLElement)) {
        return Give(&element_, out);
    }
    return E_NOINTERFACE;
}

// ---------------------------------------------------------------------------
// The class factory.

// The factory is a static object: counting means nothing.
struct FactoryUnknown {
    static HRESULT STDMETHODCALLTYPE QueryInterface(IClassFactory* self, REFIID iid, void** out) {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = self;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    static ULONG STDMETHODCALLTYPE AddRef(IClassFactory*) { return 2; }
    static ULONG STDMETHODCALLTYPE Release(IClassFactory*) { return 1; }
};

const IClassFactoryVtbl* FactoryVtbl() {
    return MakeVtbl<IClassFactoryVtbl, FactoryUnknown>([](auto& v) {
        v.CreateInstance = [](IClassFactory*, IUnknown* outer, REFIID iid, void** out) STDMETHODCALLTYPE -> HRESULT {
            *out = nullptr;
            if (outer) return CLASS_E_NOAGGREGATION;
            if (Fault() == FakeBrowserFault::Create) return E_OUTOFMEMORY;
            auto* control = new FakeControl;
            control->AddRef();
            const HRESULT result = control->QueryInterface(iid, out);
            control->Release();
            return result;
        };
        v.LockServer = [](IClassFactory*, BOOL) STDMETHODCALLTYPE -> HRESULT { return S_OK; };
    });
}

IClassFactory* Factory() {
    static IClassFactory factory{FactoryVtbl()};
    return &factory;
}

}  // namespace

namespace FakeWeb {

void Reset() {
    WebState& web = Web();
    std::lock_guard<std::mutex> lock(web.lock);
    web.pages.clear();
    web.fault = FakeBrowserFault::None;
    web.navigations.clear();
    web.openedWindows.clear();
    web.clicks.clear();
    web.offeredKeys.clear();
    web.refreshes = 0;
    web.commands.clear();
    web.silent = -1;
    web.controlThread = 0;
}

void SetPage(const std::wstring& url, const FakePage& page) {
    std::lock_guard<std::mutex> lock(Web().lock);
    Web().pages[url] = page;
}

void SetFault(FakeBrowserFault fault) {
    std::lock_guard<std::mutex> lock(Web().lock);
    Web().fault = fault;
}

// A field of the web as it is now: read under its lock.
template <typename T>
T Read(const T& field) {
    std::lock_guard<std::mutex> lock(Web().lock);
    return field;
}

std::vector<std::wstring> Navigations() { return Read(Web().navigations); }
std::vector<std::wstring> OpenedWindows() { return Read(Web().openedWindows); }
std::vector<std::wstring> Clicks() { return Read(Web().clicks); }
std::vector<std::pair<std::wstring, WPARAM>> OfferedKeys() { return Read(Web().offeredKeys); }
int Refreshes() { return Read(Web().refreshes); }
std::vector<std::pair<int, int>> Commands() { return Read(Web().commands); }
int SilentValue() { return Read(Web().silent); }
DWORD ControlThread() { return Read(Web().controlThread); }
long LiveObjects() { return g_liveObjects.load(); }
long LiveWindows() { return g_liveWindows.load(); }

}  // namespace FakeWeb

FakeWebBrowserRegistration::FakeWebBrowserRegistration() {
    if (FAILED(CoRegisterClassObject(CLSID_WebBrowser, reinterpret_cast<IUnknown*>(Factory()), CLSCTX_INPROC_SERVER,
                                     REGCLS_MULTIPLEUSE, &cookie_))) {
        cookie_ = 0;
    }
}

FakeWebBrowserRegistration::~FakeWebBrowserRegistration() {
    if (cookie_) CoRevokeClassObject(cookie_);
}
