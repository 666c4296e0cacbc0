#include "base/Scoped.h"
#include "ui/ScopedGdi.h"
#include "ui/ScopedCom.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool HandleIsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(Scoped, HandleClosesOnceWhenMovedAround) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, raw);
    {
        ScopedKernelHandle first(raw);
        ScopedKernelHandle second(std::move(first));
        EXPECT_FALSE(first.IsValid());
        EXPECT_EQ(raw, second.Get());
        ScopedKernelHandle third;
        third = std::move(second);
        EXPECT_TRUE(HandleIsOpen(raw));
    }
    EXPECT_FALSE(HandleIsOpen(raw));
}

TEST(Scoped, ReleaseGivesUpOwnership) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        ScopedKernelHandle owner(raw);
        EXPECT_EQ(raw, owner.Release());
    }
    EXPECT_TRUE(HandleIsOpen(raw));
    CloseHandle(raw);
}

TEST(Scoped, SelectObjectGuardRestoresThePreviousObject) {
    ScopedWindowDc screen(nullptr);
    ScopedMemoryDc dc(CreateCompatibleDC(screen.Get()));
    ScopedBitmap first(CreateCompatibleBitmap(screen.Get(), 4, 4));
    ScopedBitmap second(CreateCompatibleBitmap(screen.Get(), 4, 4));
    HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    {
        ScopedSelectObject selectFirst(dc.Get(), first.Get());
        EXPECT_EQ(first.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
        {
            ScopedSelectObject selectSecond(dc.Get(), second.Get());
            EXPECT_EQ(second.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
        }
        EXPECT_EQ(first.Get(), GetCurrentObject(dc.Get(), OBJ_BITMAP));
    }
    EXPECT_EQ(original, GetCurrentObject(dc.Get(), OBJ_BITMAP));
}

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

TEST(Scoped, ComPtrCountsReferences) {
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

TEST(Scoped, OleSessionIsBalancedWhenNested) {
    OleSession inner;  // the test program's main already initialised OLE
    EXPECT_EQ(S_FALSE, inner.Result());
}

}  // namespace
