// The browser host site with the fake control on this thread: creation and
// its failures, the interface rules, key translation, the DOM helpers and
// the give-back that leaves nothing alive.
#include "browser/WebBrowser.h"

#include "tests/support/FakeWebBrowser.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

HWND MakePlainWindow(HWND parent, DWORD style, int width, int height) {
    return CreateWindowExW(0, L"STATIC", L"", style, 0, 0, width, height, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The control's page window: "Shell Embedding" > "Shell DocObject View" >
// "Internet Explorer_Server".
HWND PageWindow(HWND browserWindow) {
    HWND view = browserWindow ? GetWindow(browserWindow, GW_CHILD) : nullptr;
    return view ? GetWindow(view, GW_CHILD) : nullptr;
}

std::set<std::wstring> TemporaryStorageFiles() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::vector<std::wstring> names = FileNames(std::wstring(folder) + L"STO*.tmp");
    return std::set<std::wstring>(names.begin(), names.end());
}

class WebBrowserSite : public ::testing::Test {
protected:
    FakeWebBrowserRegistration fake;
    HWND frame = MakePlainWindow(nullptr, WS_POPUP, 400, 300);
    HWND host = MakePlainWindow(frame, WS_CHILD | WS_VISIBLE, 320, 200);
    CWebBrowser browser;

    void SetUp() override {
        ASSERT_TRUE(fake.Registered());
        FakeWeb::Reset();
    }
    void TearDown() override {
        browser.DestroyBrowser();
        DestroyWindow(frame);
        EXPECT_EQ(0, FakeWeb::LiveObjects());
        EXPECT_EQ(0, FakeWeb::LiveWindows());
        EXPECT_EQ(0, browser.RefCount()) << "the control kept a reference on the site";
    }

    void Load(const std::wstring& url) {
        ASSERT_TRUE(browser.Navigate(url.c_str(), 2));
        PumpMessages(30);
    }
};

TEST_F(WebBrowserSite, CreatesTheControlInPlaceOnceUntilGivenBack) {
    ASSERT_TRUE(browser.CreateBrowser(host));
    EXPECT_TRUE(browser.Active());
    EXPECT_EQ(host, browser.HostWindow());
    HWND top = browser.GetBrowserWindow();
    EXPECT_EQ(L"Shell Embedding", ClassOf(top));
    EXPECT_EQ(host, GetParent(top));
    EXPECT_EQ(L"Internet Explorer_Server", ClassOf(PageWindow(top)));

    EXPECT_FALSE(browser.CreateBrowser(host));
    EXPECT_EQ(1, FakeWeb::LiveObjects()) << "a second control was made";
    EXPECT_EQ(3, FakeWeb::LiveWindows());

    browser.DestroyBrowser();
    EXPECT_FALSE(browser.Active());
    EXPECT_EQ(0, FakeWeb::LiveObjects());
    EXPECT_EQ(0, FakeWeb::LiveWindows());
    EXPECT_EQ(nullptr, browser.GetBrowserWindow());

    EXPECT_TRUE(browser.CreateBrowser(host));
    EXPECT_EQ(1, FakeWeb::LiveObjects());
}

TEST_F(WebBrowserSite, InPlaceInterfacesAreRefusedOnceActive) {
    void* out = nullptr;
    EXPECT_EQ(S_OK, browser.QueryInterface(IID_IOleInPlaceSite, &out));
    EXPECT_EQ(static_cast<IOleInPlaceSite*>(&browser), out);
    browser.Release();
    ASSERT_TRUE(browser.CreateBrowser(host));

    for (const IID* refused : {&IID_IOleInPlaceSite, &IID_IOleInPlaceFrame, &IID_IOleInPlaceUIWindow}) {
        out = &browser;
        EXPECT_EQ(E_NOINTERFACE, browser.QueryInterface(*refused, &out));
        EXPECT_EQ(nullptr, out);
    }
    struct Answer {
        const IID* iid;
        void* expected;
    };
    const Answer answered[] = {
        {&IID_IOleClientSite, static_cast<IOleClientSite*>(&browser)},
        {&IID_IUnknown, static_cast<IDispatch*>(&browser)},
        {&IID_IDispatch, static_cast<IDispatch*>(&browser)},
        {&DIID_DWebBrowserEvents2, static_cast<IDispatch*>(&browser)},
        {&IID_IDocHostUIHandler, static_cast<IDocHostUIHandler*>(&browser)},
    };
    for (const Answer& answer : answered) {
        EXPECT_EQ(S_OK, browser.QueryInterface(*answer.iid, &out));
        EXPECT_EQ(answer.expected, out);
        browser.Release();
    }
    EXPECT_EQ(E_NOINTERFACE, browser.QueryInterface(IID_IOleCommandTarget, &out));
}

TEST_F(WebBrowserSite, TellsTheControlItsWindowAndHostInfo) {
    ASSERT_TRUE(browser.CreateBrowser(host));
    IOleInPlaceFrame* inPlaceFrame = nullptr;
    IOleInPlaceUIWindow* document = reinterpret_cast<IOleInPlaceUIWindow*>(&browser);
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    EXPECT_EQ(S_OK, browser.GetWindowContext(&inPlaceFrame, &document, &position, &clip, &info));
    EXPECT_EQ(static_cast<IOleInPlaceFrame*>(&browser), inPlaceFrame);
    EXPECT_EQ(nullptr, document);
    EXPECT_EQ(320, position.right);
    EXPECT_EQ(200, clip.bottom);
    EXPECT_EQ(frame, info.hwndFrame);
    EXPECT_EQ(sizeof(OLEINPLACEFRAMEINFO), info.cb);
    inPlaceFrame->Release();

    DOCHOSTUIINFO hostInfo{};
    hostInfo.dwFlags = DOCHOSTUIFLAG_DIALOG;
    EXPECT_EQ(S_OK, browser.GetHostInfo(&hostInfo));
    EXPECT_EQ(DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_DPI_AWARE | DOCHOSTUIFLAG_SCROLL_NO,
              hostInfo.dwFlags);
    EXPECT_EQ(nullptr, hostInfo.pchHostCss);

    IDispatch* external = nullptr;
    EXPECT_EQ(S_OK, browser.GetExternal(&external));
    EXPECT_EQ(static_cast<IDispatch*>(&browser.External()), external);
    EXPECT_EQ(1, browser.External().RefCount());
    external->Release();

    LPOLESTR key = reinterpret_cast<LPOLESTR>(&browser);
    EXPECT_EQ(S_OK, browser.GetOptionKeyPath(&key, 0));
    EXPECT_EQ(nullptr, key) << "an untouched key path would be read as a string";
    EXPECT_EQ(S_FALSE, browser.ShowContextMenu(0, nullptr, nullptr, nullptr));
}

TEST_F(WebBrowserSite, OnlyThePageWindowsKeysGoToTheBrowser) {
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F5;
    EXPECT_EQ(E_NOTIMPL, browser.TranslateKey(&msg)) << "no browser yet";

    ASSERT_TRUE(browser.CreateBrowser(host));
    HWND page = PageWindow(browser.GetBrowserWindow());
    HWND flash = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, page, nullptr, nullptr, nullptr);
    msg.hwnd = flash;
    EXPECT_EQ(S_FALSE, browser.TranslateKey(&msg));
    msg.hwnd = page;
    EXPECT_EQ(S_OK, browser.TranslateKey(&msg)) << "the fake translates F5";
    msg.wParam = VK_TAB;
    EXPECT_EQ(S_FALSE, browser.TranslateKey(&msg));
    msg.message = WM_LBUTTONDOWN;
    EXPECT_EQ(S_FALSE, browser.TranslateKey(&msg));

    const auto offered = FakeWeb::OfferedKeys();
    ASSERT_EQ(2u, offered.size()) << "only the page window's key messages are offered";
    EXPECT_EQ(L"Internet Explorer_Server", offered[0].first);
    EXPECT_EQ(static_cast<WPARAM>(VK_F5), offered[0].second);
    DestroyWindow(flash);
}

TEST_F(WebBrowserSite, ElementValuesReportTheSizeTheyNeed) {
    FakePage page;
    page.elements[L"name"].value = L"secret";
    page.elements[L"empty"].hasValue = false;
    FakeWeb::SetPage(L"http://127.0.0.1/form", page);
    ASSERT_TRUE(browser.CreateBrowser(host));
    Load(L"http://127.0.0.1/form");

    wchar_t buffer[16];
    wmemset(buffer, L'x', 16);
    size_t count = 6;
    EXPECT_FALSE(browser.GetElementValue(L"name", buffer, &count));
    EXPECT_EQ(7u, count) << "six units and the terminator";
    EXPECT_EQ(L'x', buffer[0]) << "a buffer that is too small stays untouched";
    count = 0;
    EXPECT_FALSE(browser.GetElementValue(L"name", nullptr, &count));
    EXPECT_EQ(7u, count);
    count = 7;
    EXPECT_TRUE(browser.GetElementValue(L"name", buffer, &count));
    EXPECT_STREQ(L"secret", buffer);

    EXPECT_TRUE(browser.SetElementValue(L"name", L"changed"));
    count = 16;
    EXPECT_TRUE(browser.GetElementValue(L"name", buffer, &count));
    EXPECT_STREQ(L"changed", buffer);

    count = 16;
    EXPECT_TRUE(browser.GetElementValue(L"empty", buffer, &count));
    EXPECT_STREQ(L"", buffer);
    EXPECT_FALSE(browser.GetElementValue(L"absent", buffer, &count));
    EXPECT_FALSE(browser.GetElementValue(L"name", buffer, nullptr));
    EXPECT_FALSE(browser.SetElementValue(L"absent", L"v"));
    EXPECT_FALSE(browser.SetElementValue(L"name", nullptr));
}

TEST_F(WebBrowserSite, ClicksAndWritesReachTheDocument) {
    FakePage page;
    page.elements[L"go"].clickNavigatesTo = L"http://127.0.0.1/b";
    FakeWeb::SetPage(L"http://127.0.0.1/a", page);
    ASSERT_TRUE(browser.CreateBrowser(host));
    Load(L"http://127.0.0.1/a");

    EXPECT_TRUE(browser.ClickElement(L"go"));
    EXPECT_FALSE(browser.ClickElement(L"stop"));
    EXPECT_FALSE(browser.ClickElement(nullptr));
    EXPECT_EQ(std::vector<std::wstring>{L"go"}, FakeWeb::Clicks());
    EXPECT_EQ(L"http://127.0.0.1/b", FakeWeb::Navigations().back());

    ASSERT_TRUE(browser.LoadHtml(L"<p>hello</p>"));
    EXPECT_EQ(L"about:blank", FakeWeb::Navigations().back());
    wchar_t body[32];
    size_t count = 5;
    EXPECT_FALSE(browser.GetBodyHtml(body, &count));
    EXPECT_EQ(13u, count);
    EXPECT_TRUE(browser.GetBodyHtml(body, &count));
    EXPECT_STREQ(L"<p>hello</p>", body);
    EXPECT_FALSE(browser.LoadHtml(nullptr));
    PumpMessages(30);
}

TEST_F(WebBrowserSite, APageWithoutADocumentFailsEveryHelper) {
    FakePage page;
    page.hasDocument = false;
    FakeWeb::SetPage(L"http://127.0.0.1/none", page);
    FakeWeb::SetPage(L"about:blank", page);
    wchar_t buffer[8];
    size_t count = 8;
    EXPECT_FALSE(browser.Navigate(L"http://127.0.0.1/none", 0)) << "no browser yet";
    EXPECT_FALSE(browser.GetDocument2());
    EXPECT_FALSE(browser.ClickElement(L"go"));

    ASSERT_TRUE(browser.CreateBrowser(host));
    Load(L"http://127.0.0.1/none");
    EXPECT_FALSE(browser.GetDocument2());
    EXPECT_FALSE(browser.GetDocument3());
    EXPECT_FALSE(browser.GetBodyHtml(buffer, &count));
    EXPECT_FALSE(browser.GetElementValue(L"go", buffer, &count));
    EXPECT_FALSE(browser.SetElementValue(L"go", L"v"));
    EXPECT_FALSE(browser.ClickElement(L"go"));
    EXPECT_FALSE(browser.LoadHtml(L"<p></p>"));
}

TEST_F(WebBrowserSite, AControlThatCannotBeMadeOrActivatedIsAFailure) {
    for (FakeBrowserFault fault : {FakeBrowserFault::Create, FakeBrowserFault::Activate, FakeBrowserFault::Advise}) {
        FakeWeb::SetFault(fault);
        EXPECT_FALSE(browser.CreateBrowser(host)) << static_cast<int>(fault);
        EXPECT_FALSE(browser.Active());
        EXPECT_EQ(nullptr, browser.WebBrowser());
        EXPECT_EQ(nullptr, browser.HostWindow());
        EXPECT_EQ(0, FakeWeb::LiveObjects());
        EXPECT_EQ(0, FakeWeb::LiveWindows());
        EXPECT_FALSE(browser.Navigate(L"http://127.0.0.1/", 0));
    }
    FakeWeb::SetFault(FakeBrowserFault::None);
    EXPECT_TRUE(browser.CreateBrowser(host)) << "a failure leaves nothing that blocks a new try";
}

TEST_F(WebBrowserSite, TheTemporaryStorageGoesWithTheControl) {
    const std::set<std::wstring> before = TemporaryStorageFiles();
    ASSERT_TRUE(browser.CreateBrowser(host));
    browser.DestroyBrowser();
    // Other test programs make and remove such files meanwhile: what counts
    // is that nothing new is left.
    const std::set<std::wstring> after = TemporaryStorageFiles();
    EXPECT_TRUE(std::includes(before.begin(), before.end(), after.begin(), after.end()));
}

}  // namespace
