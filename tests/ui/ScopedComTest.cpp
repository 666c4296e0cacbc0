#include "ui/ScopedCom.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// An IUnknown that counts its references.
class Counted : public IUnknown {
public:
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(ScopedCom, ComPtrCountsReferences) {
    Counted object;
    {
        ComPtr<IUnknown> a(&object);
        EXPECT_EQ(2u, object.refs);
        ComPtr<IUnknown> b = a;
        EXPECT_EQ(3u, object.refs);
        ComPtr<IUnknown> c = std::move(b);
        EXPECT_EQ(3u, object.refs);
        EXPECT_FALSE(b);
        ComPtr<IUnknown> d;
        EXPECT_EQ(S_OK, a.As(d));
        EXPECT_EQ(4u, object.refs);
        ComPtr<IDispatch> none;
        EXPECT_EQ(E_NOINTERFACE, a.As(none));
        EXPECT_FALSE(none);
        a = c;  // same object: no change
        EXPECT_EQ(4u, object.refs);
    }
    EXPECT_EQ(1u, object.refs);
}

TEST(ScopedCom, OleSessionIsBalancedWhenNested) {
    OleSession inner;  // the test program's main already initialised OLE
    EXPECT_EQ(S_FALSE, inner.Result());
}

}  // namespace
