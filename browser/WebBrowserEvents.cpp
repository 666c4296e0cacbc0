// The browser's DWebBrowserEvents2 events: HandleBrowserEvent is the sink's
// Invoke. It only unpacks the dispatch parameters of the few events the
// client cares about and calls the handler slot; everything else happens in
// the handlers, on the HTML thread, inside the browser's own call.
//
// Arguments arrive last first: the event's last parameter is rgvarg[0].
// Their types are checked before anything is read through them, and an
// event whose arguments are missing or of the wrong kind is ignored; a
// navigation or new window whose address cannot be read whole is cancelled.
#include "browser/WebBrowser.h"

#include <exdispid.h>

namespace {

// The arguments of one event, by their position in the event's signature.
class EventArgs {
public:
    explicit EventArgs(const DISPPARAMS* params)
        : args_(params && params->rgvarg ? params->rgvarg : nullptr), count_(args_ ? params->cArgs : 0) {}

    bool Has(UINT count) const { return count_ >= count; }

    // The argument at index (reverse order), or null past the end.
    const VARIANT* At(UINT index) const { return index < count_ ? &args_[index] : nullptr; }

    // Text held directly or behind one reference, as the standard events
    // pass their strings and URLs; a null string is the empty text. Null
    // when it is no text, or when a NUL inside would hide its rest.
    const wchar_t* Text(UINT index) const {
        const VARIANT* arg = At(index);
        if (arg && V_VT(arg) == (VT_VARIANT | VT_BYREF)) arg = V_VARIANTREF(arg);
        if (!arg) return nullptr;
        BSTR text = nullptr;
        if (V_VT(arg) == VT_BSTR) {
            text = V_BSTR(arg);
        } else if (V_VT(arg) == (VT_BSTR | VT_BYREF) && V_BSTRREF(arg)) {
            text = *V_BSTRREF(arg);
        } else {
            return nullptr;
        }
        if (!text) return L"";
        return wcslen(text) == SysStringLen(text) ? text : nullptr;
    }

    // The frame's dispatch; null when the argument is not one.
    IDispatch* Dispatch(UINT index) const {
        const VARIANT* arg = At(index);
        return arg && V_VT(arg) == VT_DISPATCH ? V_DISPATCH(arg) : nullptr;
    }

    IDispatch** DispatchRef(UINT index) const {
        const VARIANT* arg = At(index);
        return arg && V_VT(arg) == (VT_DISPATCH | VT_BYREF) ? V_DISPATCHREF(arg) : nullptr;
    }

    VARIANT_BOOL* BoolRef(UINT index) const {
        const VARIANT* arg = At(index);
        return arg && V_VT(arg) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(arg) : nullptr;
    }

    DWORD Flags(UINT index) const {
        const VARIANT* arg = At(index);
        if (arg && (V_VT(arg) == VT_I4 || V_VT(arg) == VT_UI4)) return V_UI4(arg);
        return 0;
    }

private:
    const VARIANT* args_;
    UINT count_;
};

// Calls an installed handler through a copy, so that it may replace itself.
template <typename Handler, typename... Args>
void Call(const Handler& handler, Args... args) {
    if (!handler) return;
    Handler copy = handler;
    copy(args...);
}

}  // namespace

HRESULT CWebBrowser::HandleBrowserEvent(DISPID id, REFIID iid, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                        EXCEPINFO*, UINT*) {
    if (!IsEqualIID(iid, IID_NULL)) return E_INVALIDARG;
    const EventArgs args(params);
    // A handler's failure is the handler's; the browser only learns that
    // its event was taken.
    try {
        switch (id) {
        case DISPID_QUIT:
            Call(quit_);
            return S_OK;
        case DISPID_COMMANDSTATECHANGE:
        case DISPID_NAVIGATEERROR:
            return S_OK;
        case DISPID_TITLECHANGE:
            if (args.Has(1) && V_VT(args.At(0)) == VT_BSTR) {
                Call(titleChange_, V_BSTR(args.At(0)) ? V_BSTR(args.At(0)) : L"");
            }
            return S_OK;
        case DISPID_BEFORENAVIGATE2: {
            // An address the handler cannot read whole is not checked but
            // refused.
            VARIANT_BOOL* cancel = args.BoolRef(0);
            const wchar_t* url = args.Has(7) ? args.Text(5) : nullptr;
            if (!url) {
                if (cancel) *cancel = VARIANT_TRUE;
            } else if (cancel) {
                Call(beforeNavigate_, args.Dispatch(6), url, cancel);
            }
            return S_OK;
        }
        case DISPID_NAVIGATECOMPLETE2:
            if (args.Has(2)) {
                // Refreshed on every completed navigation: the page may
                // have replaced the browser's window.
                if (webBrowser_) LookUpBrowserWindow();
                const wchar_t* url = args.Text(0);
                if (url) Call(navigateComplete_, url);
            }
            return S_OK;
        case DISPID_DOCUMENTCOMPLETE:
            if (args.Has(2)) {
                const wchar_t* url = args.Text(0);
                if (url) Call(documentComplete_, args.Dispatch(1), url);
            }
            return S_OK;
        case DISPID_NEWWINDOW3: {
            VARIANT_BOOL* cancel = args.BoolRef(3);
            IDispatch** ppDisp = args.DispatchRef(4);
            const wchar_t* url = args.Has(5) ? args.Text(0) : nullptr;
            if (!url || !ppDisp) {
                if (cancel) *cancel = VARIANT_TRUE;
            } else if (cancel) {
                const wchar_t* urlContext = args.Text(1);
                Call(newWindow_, ppDisp, cancel, args.Flags(2), urlContext ? urlContext : L"", url);
            }
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    } catch (...) {
        return S_OK;
    }
}
