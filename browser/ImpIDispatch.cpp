#include "browser/ImpIDispatch.h"

#include "ui/ScopedCom.h"

#include <oleauto.h>

#include <utility>

namespace {

// The text of one script argument; false when it has none (a null string,
// or a value that does not convert to text).
bool ArgumentText(const VARIANT& arg, std::wstring& text) {
    if (V_VT(&arg) == VT_BSTR) {
        if (!V_BSTR(&arg)) return false;
        text.assign(V_BSTR(&arg), SysStringLen(V_BSTR(&arg)));
        return true;
    }
    ScopedVariant converted;
    if (FAILED(VariantChangeType(converted.Get(), const_cast<VARIANT*>(&arg), 0, VT_BSTR))) return false;
    const BSTR value = V_BSTR(converted.Get());
    if (!value) return false;
    text.assign(value, SysStringLen(value));
    return true;
}

}  // namespace

// The object is handed out without a reference of its own: its owner keeps
// it alive, and the count never decides anything.
HRESULT CImpIDispatch::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_FAIL;
}

ULONG CImpIDispatch::AddRef() { return static_cast<ULONG>(++refCount_); }

ULONG CImpIDispatch::Release() { return static_cast<ULONG>(--refCount_); }

HRESULT CImpIDispatch::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return E_FAIL;
}

HRESULT CImpIDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_FAIL;
}

HRESULT CImpIDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count > 0 && (!names || !ids)) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(lock_);
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (const auto& entry : names_) {
            if (names[i] && entry.second == names[i]) {
                ids[i] = entry.first;
                break;
            }
        }
        if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT CImpIDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO*, UINT*) {
    try {
        Handler handler;
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (!handler_ || names_.find(id) == names_.end()) return S_OK;
            handler = handler_;
        }
        if ((flags & DISPATCH_PROPERTYGET) && result) {
            VariantInit(result);
            V_VT(result) = VT_BOOL;
            V_BOOL(result) = 1;
        }
        if (!(flags & DISPATCH_METHOD)) return S_OK;

        // rgvarg holds the arguments last first; the handler gets them in
        // the script's order.
        std::list<std::wstring> args;
        if (params && params->rgvarg) {
            for (UINT i = 0; i < params->cArgs; ++i) {
                std::wstring text;
                if (ArgumentText(params->rgvarg[i], text)) args.push_front(std::move(text));
            }
        }
        std::wstring answer = handler(id, args);
        if (result) {
            VariantInit(result);
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocStringLen(answer.data(), static_cast<UINT>(answer.size()));
        }
    } catch (...) {
        // A failing handler answers the script with nothing.
    }
    return S_OK;
}

void CImpIDispatch::SetName(DISPID id, const wchar_t* name) {
    std::lock_guard<std::mutex> lock(lock_);
    names_[id] = name ? name : L"";
}

void CImpIDispatch::SetHandler(Handler handler) {
    std::lock_guard<std::mutex> lock(lock_);
    handler_ = std::move(handler);
}
