// The object page scripts see as window.external: a late-bound IDispatch
// that maps member names to DISPIDs and hands every method call, with its
// string arguments in the script's order, to one handler that answers with
// a string. The client registers no names and no handler, so scripts find
// an external object without members.
//
// It is embedded in the browser's host site and lives exactly as long; the
// reference count is kept for the platform's sake and never frees it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <string>

class CImpIDispatch : public IDispatch {
public:
    // Receives a call by DISPID with the script's string arguments (first
    // argument first) and returns the call's string result.
    using Handler = std::function<std::wstring(DISPID, const std::list<std::wstring>&)>;

    CImpIDispatch() = default;
    virtual ~CImpIDispatch() = default;
    CImpIDispatch(const CImpIDispatch&) = delete;
    CImpIDispatch& operator=(const CImpIDispatch&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // Registers (or renames) a script-callable member.
    void SetName(DISPID id, const wchar_t* name);
    // Replaces the handler; an empty one makes every call a no-op.
    void SetHandler(Handler handler);

    LONG RefCount() const { return refCount_; }

private:
    // Declared in reverse order of destruction: the lock goes first, then
    // the handler, then the names.
    std::map<DISPID, std::wstring> names_;
    Handler handler_;
    LONG refCount_ = 0;
    mutable std::mutex lock_;
};
