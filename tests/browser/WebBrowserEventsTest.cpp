// The browser's events as the sink receives them: which reach which
// handler with which arguments, and which are refused or ignored, down to
// malformed arguments that must not be read through.
#include "browser/WebBrowser.h"

#include "tests/support/FakeWebBrowser.h"
#include "tests/support/TestWindows.h"

#include <exdispid.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// An event's arguments in the order of its signature; DISPPARAMS gets
// them last first, as the control sends them.
class Event {
public:
    // units: the string's length when it holds a NUL.
    Event& Bstr(const wchar_t* text, size_t units = 0) {
        VARIANT v;
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = text ? SysAllocStringLen(text, static_cast<UINT>(units ? units : wcslen(text))) : nullptr;
        return Add(v, true);
    }
    // A URL behind a reference, as BeforeNavigate2, NavigateComplete2 and
    // DocumentComplete pass it.
    Event& UrlRef(const wchar_t* text) {
        auto target = std::make_unique<VARIANT>();
        V_VT(target.get()) = VT_BSTR;
        V_BSTR(target.get()) = SysAllocString(text);
        VARIANT v;
        V_VT(&v) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&v) = target.get();
        targets_.push_back(std::move(target));
        return Add(v, false);
    }
    Event& Typed(VARTYPE type, void* pointer) {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = type;
        V_BYREF(&v) = pointer;
        return Add(v, false);
    }
    Event& I4(LONG value) {
        VARIANT v;
        V_VT(&v) = VT_I4;
        V_I4(&v) = value;
        return Add(v, false);
    }

    DISPPARAMS* Params() {
        reversed_.assign(args_.rbegin(), args_.rend());
        params_ = DISPPARAMS{reversed_.data(), nullptr, static_cast<UINT>(reversed_.size()), 0};
        return &params_;
    }

    ~Event() {
        for (size_t i = 0; i < args_.size(); ++i) {
            if (owned_[i]) VariantClear(&args_[i]);
        }
        for (auto& target : targets_) VariantClear(target.get());
    }

private:
    Event& Add(const VARIANT& v, bool owned) {
        args_.push_back(v);
        owned_.push_back(owned);
        return *this;
    }

    std::vector<VARIANT> args_;
    std::vector<bool> owned_;
    std::vector<std::unique_ptr<VARIANT>> targets_;
    std::vector<VARIANT> reversed_;
    DISPPARAMS params_{};
};

class BrowserEvents : public ::testing::Test {
protected:
    CWebBrowser browser;
    std::vector<std::wstring> seen;

    HRESULT Send(DISPID id, DISPPARAMS* params, REFIID iid = IID_NULL) {
        return browser.Invoke(id, iid, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, nullptr, nullptr, nullptr);
    }

    void InstallAll() {
        browser.SetTitleChangeHandler([this](const wchar_t* title) { seen.push_back(L"title:" + std::wstring(title)); });
        browser.SetNavigateCompleteHandler([this](const wchar_t* url) { seen.push_back(L"nav:" + std::wstring(url)); });
        browser.SetDocumentCompleteHandler([this](IDispatch* frame, const wchar_t* url) {
            seen.push_back(std::wstring(frame ? L"doc+frame:" : L"doc:") + url);
        });
        browser.SetBeforeNavigateHandler([this](IDispatch*, const wchar_t* url, VARIANT_BOOL* cancel) {
            seen.push_back(L"before:" + std::wstring(url));
            *cancel = VARIANT_TRUE;
        });
        browser.SetNewWindowHandler([this](IDispatch** ppDisp, VARIANT_BOOL* cancel, DWORD flags,
                                           const wchar_t* context, const wchar_t* url) {
            seen.push_back(L"new:" + std::wstring(url) + L" from " + context + L" flags " + std::to_wstring(flags) +
                           (*ppDisp ? L" disp" : L""));
            *cancel = VARIANT_TRUE;
        });
        browser.SetQuitHandler([this] { seen.push_back(L"quit"); });
    }
};

TEST_F(BrowserEvents, ANonNullRiidIsRefusedBeforeAnyHandler) {
    InstallAll();
    Event event;
    event.Bstr(L"Title");
    EXPECT_EQ(E_INVALIDARG, Send(DISPID_TITLECHANGE, event.Params(), IID_IDispatch));
    EXPECT_EQ(E_INVALIDARG, Send(DISPID_QUIT, nullptr, IID_IDispatch));
    EXPECT_TRUE(seen.empty());
}

TEST_F(BrowserEvents, UnknownEventsAreNotMembersAndKnownOnesWithoutHandlersAreTaken) {
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Send(DISPID_STATUSTEXTCHANGE, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Send(12345, nullptr));
    for (DISPID id : {DISPID_QUIT, DISPID_COMMANDSTATECHANGE, DISPID_TITLECHANGE, DISPID_BEFORENAVIGATE2,
                      DISPID_NAVIGATECOMPLETE2, DISPID_DOCUMENTCOMPLETE, DISPID_NAVIGATEERROR, DISPID_NEWWINDOW3}) {
        EXPECT_EQ(S_OK, Send(id, nullptr)) << id;
    }
}

TEST_F(BrowserEvents, StandardEventsReachTheirHandlers) {
    InstallAll();
    IDispatch* frame = &browser.External();
    Event title;
    title.Bstr(L"Orvane");
    EXPECT_EQ(S_OK, Send(DISPID_TITLECHANGE, title.Params()));

    Event navigated;
    navigated.Typed(VT_DISPATCH, frame).UrlRef(L"http://127.0.0.1/nav");
    EXPECT_EQ(S_OK, Send(DISPID_NAVIGATECOMPLETE2, navigated.Params()));

    Event completed;
    completed.Typed(VT_DISPATCH, frame).UrlRef(L"http://127.0.0.1/doc");
    EXPECT_EQ(S_OK, Send(DISPID_DOCUMENTCOMPLETE, completed.Params()));

    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT empty;
    VariantInit(&empty);
    Event before;
    before.Typed(VT_DISPATCH, frame).UrlRef(L"http://127.0.0.1/next");
    for (int i = 0; i < 4; ++i) before.Typed(VT_VARIANT | VT_BYREF, &empty);
    before.Typed(VT_BOOL | VT_BYREF, &cancel);
    EXPECT_EQ(S_OK, Send(DISPID_BEFORENAVIGATE2, before.Params()));
    EXPECT_EQ(VARIANT_TRUE, cancel) << "the handler answers through the event's own flag";

    IDispatch* newDispatch = nullptr;
    VARIANT_BOOL cancelWindow = VARIANT_FALSE;
    Event popup;
    popup.Typed(VT_DISPATCH | VT_BYREF, &newDispatch)
        .Typed(VT_BOOL | VT_BYREF, &cancelWindow)
        .I4(6)
        .Bstr(L"http://127.0.0.1/page")
        .Bstr(L"http://127.0.0.1/popup");
    EXPECT_EQ(S_OK, Send(DISPID_NEWWINDOW3, popup.Params()));
    EXPECT_EQ(VARIANT_TRUE, cancelWindow);

    EXPECT_EQ(S_OK, Send(DISPID_QUIT, nullptr));

    const std::vector<std::wstring> expected = {
        L"title:Orvane",
        L"nav:http://127.0.0.1/nav",
        L"doc+frame:http://127.0.0.1/doc",
        L"before:http://127.0.0.1/next",
        L"new:http://127.0.0.1/popup from http://127.0.0.1/page flags 6",
        L"quit",
    };
    EXPECT_EQ(expected, seen);
}

TEST_F(BrowserEvents, TooFewArgumentsMakeNoCall) {
    InstallAll();
    Event one;
    one.UrlRef(L"http://127.0.0.1/");
    EXPECT_EQ(S_OK, Send(DISPID_NAVIGATECOMPLETE2, one.Params()));
    EXPECT_EQ(S_OK, Send(DISPID_DOCUMENTCOMPLETE, one.Params()));
    EXPECT_EQ(S_OK, Send(DISPID_BEFORENAVIGATE2, one.Params()));
    EXPECT_EQ(S_OK, Send(DISPID_NEWWINDOW3, one.Params()));
    EXPECT_EQ(S_OK, Send(DISPID_TITLECHANGE, nullptr));
    DISPPARAMS noArray{nullptr, nullptr, 3, 0};
    EXPECT_EQ(S_OK, Send(DISPID_NAVIGATECOMPLETE2, &noArray)) << "a count without arguments";
    EXPECT_TRUE(seen.empty());
}

TEST_F(BrowserEvents, ArgumentsOfTheWrongKindAreNeverReadThrough) {
    InstallAll();
    Event numberTitle;
    numberTitle.I4(7);
    EXPECT_EQ(S_OK, Send(DISPID_TITLECHANGE, numberTitle.Params()));

    Event numberUrl;
    numberUrl.Typed(VT_DISPATCH, nullptr).I4(0x1234);
    EXPECT_EQ(S_OK, Send(DISPID_NAVIGATECOMPLETE2, numberUrl.Params()));
    EXPECT_EQ(S_OK, Send(DISPID_DOCUMENTCOMPLETE, numberUrl.Params()));

    Event nullReference;
    nullReference.Typed(VT_DISPATCH, nullptr).Typed(VT_VARIANT | VT_BYREF, nullptr);
    EXPECT_EQ(S_OK, Send(DISPID_NAVIGATECOMPLETE2, nullReference.Params()));

    VARIANT_BOOL cancel = VARIANT_FALSE;
    Event flagByValue;
    flagByValue.Typed(VT_DISPATCH | VT_BYREF, nullptr).I4(0).I4(0).Bstr(L"a").Bstr(L"http://127.0.0.1/b");
    EXPECT_EQ(S_OK, Send(DISPID_NEWWINDOW3, flagByValue.Params())) << "no cancel flag to write";

    Event nullCancel;
    IDispatch* newDispatch = nullptr;
    nullCancel.Typed(VT_DISPATCH | VT_BYREF, &newDispatch).Typed(VT_BOOL | VT_BYREF, nullptr).I4(0).Bstr(L"a").Bstr(L"b");
    EXPECT_EQ(S_OK, Send(DISPID_NEWWINDOW3, nullCancel.Params()));

    Event before;
    before.Typed(VT_DISPATCH, nullptr).UrlRef(L"http://127.0.0.1/");
    for (int i = 0; i < 4; ++i) before.I4(0);
    before.I4(1);
    EXPECT_EQ(S_OK, Send(DISPID_BEFORENAVIGATE2, before.Params()));
    EXPECT_EQ(VARIANT_FALSE, cancel);
    EXPECT_TRUE(seen.empty());

    Event nullStrings;
    nullStrings.Typed(VT_DISPATCH, nullptr).Bstr(nullptr);
    EXPECT_EQ(S_OK, Send(DISPID_NAVIGATECOMPLETE2, nullStrings.Params()));
    EXPECT_EQ(std::vector<std::wstring>{L"nav:"}, seen) << "a null string is the empty text";
}

// Addresses that cannot be read whole: no handler checks them, and a
// navigation or a new window is cancelled all the same.
TEST_F(BrowserEvents, AnAddressNotReadableWholeIsCancelledUnseen) {
    InstallAll();
    const std::wstring nul = std::wstring(L"http://127.0.0.1/") + L'\0' + L"http://evil.example/";
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        const auto url = [&](Event& event) -> Event& {
            return kind == 0 ? event.Bstr(nul.data(), nul.size()) : kind == 1 ? event.I4(7) : event.Typed(VT_BSTR | VT_BYREF, nullptr);
        };
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT empty{};
        Event before;
        url(before.Typed(VT_DISPATCH, nullptr));
        for (int i = 0; i < 4; ++i) before.Typed(VT_VARIANT | VT_BYREF, &empty);
        before.Typed(VT_BOOL | VT_BYREF, &cancel);
        EXPECT_EQ(S_OK, Send(DISPID_BEFORENAVIGATE2, before.Params()));
        EXPECT_EQ(VARIANT_TRUE, cancel);

        IDispatch* newDispatch = nullptr;
        VARIANT_BOOL cancelWindow = VARIANT_FALSE;
        Event popup;
        url(popup.Typed(VT_DISPATCH | VT_BYREF, &newDispatch).Typed(VT_BOOL | VT_BYREF, &cancelWindow).I4(2).Bstr(L"a"));
        EXPECT_EQ(S_OK, Send(DISPID_NEWWINDOW3, popup.Params()));
        EXPECT_EQ(VARIANT_TRUE, cancelWindow);
    }
    EXPECT_TRUE(seen.empty());
}

TEST_F(BrowserEvents, AThrowingHandlerStillTakesTheEvent) {
    browser.SetNavigateCompleteHandler([](const wchar_t*) { throw std::runtime_error("handler"); });
    Event navigated;
    navigated.Typed(VT_DISPATCH, nullptr).UrlRef(L"http://127.0.0.1/");
    EXPECT_EQ(S_OK, Send(DISPID_NAVIGATECOMPLETE2, navigated.Params()));
}

TEST_F(BrowserEvents, AHandlerMayReplaceItselfWhileCalled) {
    int calls = 0;
    browser.SetTitleChangeHandler([&](const wchar_t*) {
        ++calls;
        browser.SetTitleChangeHandler(nullptr);
    });
    Event title;
    title.Bstr(L"t");
    EXPECT_EQ(S_OK, Send(DISPID_TITLECHANGE, title.Params()));
    EXPECT_EQ(S_OK, Send(DISPID_TITLECHANGE, title.Params()));
    EXPECT_EQ(1, calls);
}

// With a control: completing a navigation looks the browser window up
// again, and only then.
TEST_F(BrowserEvents, NavigateCompleteRefreshesTheBrowserWindow) {
    FakeWebBrowserRegistration fake;
    FakeWeb::Reset();
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(browser.CreateBrowser(host));
    std::vector<HWND> found;
    browser.SetBrowserWindowHandler([&](HWND window) { found.push_back(window); });

    Event one;
    one.UrlRef(L"http://127.0.0.1/");
    Send(DISPID_NAVIGATECOMPLETE2, one.Params());
    EXPECT_TRUE(found.empty()) << "too few arguments: no lookup either";

    HWND window = browser.GetBrowserWindow();
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(window, found[0]);
    browser.GetBrowserWindow();
    EXPECT_EQ(1u, found.size()) << "a cached window that still lives is not looked up";

    Event navigated;
    navigated.Typed(VT_DISPATCH, nullptr).UrlRef(L"http://127.0.0.1/");
    Send(DISPID_NAVIGATECOMPLETE2, navigated.Params());
    EXPECT_EQ(2u, found.size());
    browser.DestroyBrowser();
    DestroyWindow(host);
    EXPECT_EQ(0, FakeWeb::LiveObjects());
}

}  // namespace
