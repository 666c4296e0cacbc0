// The host site of the system's web browser control.
//
// One CWebBrowser embeds one control into a host window (the view's) and
// is its whole OLE container: client site, in-place site, in-place frame
// (also answering for the in-place UI window), document host UI handler,
// and the sink of the control's DWebBrowserEvents2 events, whose Invoke is
// HandleBrowserEvent (WebBrowserEvents.cpp). It carries window.external
// (CImpIDispatch), a few navigation and DOM helpers, and the handler slots
// through which the browser's events reach the game frame.
//
// The object, the control and every call into them belong to the HTML
// thread. The owning view decides its lifetime: AddRef and Release only
// count, they never free. The view's OnDestroy calls DestroyBrowser, which
// gives the control back while the thread is still in OLE; the destructor
// finds nothing left to release then.
#pragma once

#include "browser/ImpIDispatch.h"
#include "ui/ScopedCom.h"

#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <ocidl.h>

#include <functional>

class CWebBrowser : public IDispatch,
                    public IOleClientSite,
                    public IOleInPlaceSite,
                    public IOleInPlaceFrame,
                    public IDocHostUIHandler {
public:
    // Handler slots. Texts are valid only during the call; pointers to the
    // cancel flags and to ppDisp point into the event's own arguments.
    using TitleChangeHandler = std::function<void(const wchar_t* title)>;
    using DocumentCompleteHandler = std::function<void(IDispatch* frame, const wchar_t* url)>;
    using NavigateCompleteHandler = std::function<void(const wchar_t* url)>;
    using BeforeNavigateHandler = std::function<void(IDispatch* frame, const wchar_t* url, VARIANT_BOOL* cancel)>;
    using NewWindowHandler = std::function<void(IDispatch** ppDisp, VARIANT_BOOL* cancel, DWORD flags,
                                                const wchar_t* urlContext, const wchar_t* url)>;
    using QuitHandler = std::function<void()>;
    using BrowserWindowHandler = std::function<void(HWND browserWindow)>;

    CWebBrowser();
    virtual ~CWebBrowser();
    CWebBrowser(const CWebBrowser&) = delete;
    CWebBrowser& operator=(const CWebBrowser&) = delete;

    // IUnknown, shared by all five interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: the event sink.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // The control's own operations, after those of IDispatch.
    virtual bool Navigate(const wchar_t* url, int flags);
    virtual bool LoadHtml(const wchar_t* html);
    // Copies the body's HTML into buffer when *count units hold it with its
    // terminator; otherwise sets *count to the units needed and fails.
    virtual bool GetBodyHtml(wchar_t* buffer, size_t* count);
    virtual bool ClickElement(const wchar_t* id);
    virtual bool SetElementValue(const wchar_t* id, const wchar_t* value);
    // As GetBodyHtml, for the "value" attribute of the element with this id.
    virtual bool GetElementValue(const wchar_t* id, wchar_t* buffer, size_t* count);

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleWindow, for the in-place site and the in-place frame alike.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                               RECT* posRect, RECT* clipRect,
                                               OLEINPLACEFRAMEINFO* frameInfo) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(const RECT* posRect) override;

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(RECT* border) override;
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) override;
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) override;
    // Also IDocHostUIHandler's: both answer E_NOTIMPL.
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg, WORD id) override;

    // IDocHostUIHandler
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                              IDispatch* object) override;
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                                     IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                                     IOleInPlaceUIWindow* doc) override;
    HRESULT STDMETHODCALLTYPE HideUI() override;
    HRESULT STDMETHODCALLTYPE UpdateUI() override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg, const GUID* group, DWORD command) override;
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) override;
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** external) override;
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject* data, IDataObject** replacement) override;

    // Creates the control in hostWindow, activates it in place and
    // connects its events. False when it is already active, or when any of
    // that failed (what was made is given back then).
    bool CreateBrowser(HWND hostWindow);
    // Gives the control back: disconnects the events, deactivates and
    // closes it and releases every interface. Must run on the HTML thread
    // while it is in OLE.
    void DestroyBrowser();

    // The browser's own top window (cached while it lives), or null.
    HWND GetBrowserWindow();
    // The current document, a reference of the caller's own; null without one.
    ComPtr<IHTMLDocument2> GetDocument2();
    ComPtr<IHTMLDocument3> GetDocument3();
    // Offers a key message for the page's window to the browser.
    HRESULT TranslateKey(const MSG* msg);

    // The event dispatch of the sink (WebBrowserEvents.cpp).
    HRESULT HandleBrowserEvent(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT* argError);

    // Replace a handler; the previous one is destroyed.
    void SetTitleChangeHandler(TitleChangeHandler handler);
    void SetDocumentCompleteHandler(DocumentCompleteHandler handler);
    void SetNavigateCompleteHandler(NavigateCompleteHandler handler);
    void SetBeforeNavigateHandler(BeforeNavigateHandler handler);
    void SetNewWindowHandler(NewWindowHandler handler);
    void SetQuitHandler(QuitHandler handler);
    void SetBrowserWindowHandler(BrowserWindowHandler handler);

    HWND HostWindow() const { return hostWindow_; }
    IWebBrowser2* WebBrowser() const { return webBrowser_.Get(); }
    bool Active() const { return active_ != 0; }
    LONG RefCount() const { return refCount_; }
    CImpIDispatch& External() { return external_; }

private:
    // Reads the browser window from the control into browserWindow_ and
    // tells the browser-window handler.
    void LookUpBrowserWindow();
    ComPtr<IHTMLElement> FindElement(const wchar_t* id);

    ComPtr<IStorage> storage_;
    ComPtr<IOleObject> oleObject_;
    ComPtr<IOleInPlaceObject> inPlaceObject_;
    ComPtr<IOleInPlaceActiveObject> activeObject_;
    ComPtr<IWebBrowser2> webBrowser_;
    ComPtr<IConnectionPoint> eventSource_;
    DWORD eventCookie_ = 0;
    HWND hostWindow_ = nullptr;
    HWND browserWindow_ = nullptr;
    LONG active_ = 0;
    LONG refCount_ = 0;

    TitleChangeHandler titleChange_;
    DocumentCompleteHandler documentComplete_;
    NavigateCompleteHandler navigateComplete_;
    BeforeNavigateHandler beforeNavigate_;
    NewWindowHandler newWindow_;
    QuitHandler quit_;
    CImpIDispatch external_;
    BrowserWindowHandler browserWindowHandler_;
    BYTE noScroll_ = 1;
};
