// The life of an installation under Wine: the player walks the shipped
// installer's pages, which put both programs where they expect each other;
// the installed client (through the test seam: its pages scripted) reports
// the installation, takes the player to the game and reports the exit; and
// the installed 32-bit uninstaller, continued with a click, removes
// everything of the product, its folder within 10 s of the click, but keeps
// the player's data, which the next installation's first run takes back;
// unticked, it leaves nothing. And folder names of every kind go whole.
#include "base/Config.h"
#include "base/PlayerData.h"
#include "base/Product.h"
#include "app/Statistics.h"
#include "net/Endpoints.h"
#include "tests/programs/support/ClientDriver.h"
#include "tests/programs/support/FakeClient.h"
#include "tests/programs/support/Installation.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/OpenedUrls.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"
#include "base/TextBuf.h"
#include "uninstall/Frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDeadlineMs = 30000;

std::string Narrow(const std::wstring& text) {
    char bytes[2048];
    WideToAnsi(text.c_str(), bytes, CP_UTF8);
    return bytes;
}

struct ControlSearch {
    const wchar_t* className;
    LONG buttonType;  // BS_* of a button; -1 for any control of the class
    HWND found;
};

BOOL CALLBACK MatchControl(HWND control, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    wchar_t className[64] = {};
    GetClassNameW(control, className, 64);
    if (_wcsicmp(className, search->className) != 0 || !IsWindowVisible(control)) return TRUE;
    if (search->buttonType >= 0 && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) != search->buttonType) {
        return TRUE;
    }
    search->found = control;
    return FALSE;
}

// The first visible control of the class on the window's current page, once
// there is one; null at the deadline.
HWND WaitForControl(HWND window, const wchar_t* className, LONG buttonType = -1) {
    ControlSearch search{className, buttonType, nullptr};
    WaitFor([&] {
        EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, kDeadlineMs);
    return search.found;
}

// The installer's pages walked as a player walks them: the welcome page,
// the folder page with the folder typed in, the installation, and the
// finish page with "start now" unticked (this test starts the client
// itself). Returns where the player got stuck, or null.
const char* WalkInstallerPages(DWORD id, const std::wstring& folder) {
    HWND setup = nullptr;
    if (!WaitFor([&] {
            setup = FindProcessWindow(id, L"#32770", nullptr);
            return setup && IsWindowVisible(setup);
        }, kDeadlineMs)) {
        return "welcome page";
    }
    HWND next = GetDlgItem(setup, IDOK);  // Next, then Install, then Finish
    RealInput::ClickCentre(next);

    HWND edit = WaitForControl(setup, L"Edit");
    if (!edit) return "folder page";
    RealInput::ClickCentre(edit);
    RealInput::Key(VK_END);
    RealInput::Key(VK_HOME, VK_SHIFT);
    RealInput::Type(folder);
    // GetWindowTextW does not ask a control of another process.
    if (!WaitFor([&] {
            wchar_t typed[MAX_PATH] = {};
            SendMessageW(edit, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(typed));
            return folder == typed;
        }, kDeadlineMs)) {
        return "folder typed in";
    }
    RealInput::ClickCentre(next);

    HWND startNow = WaitForControl(setup, L"Button", BS_AUTOCHECKBOX);
    if (!startNow) return "finish page";
    RealInput::ClickCentre(startNow);
    if (!WaitFor([&] { return SendMessageW(startNow, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, kDeadlineMs)) {
        return "start-now box";
    }
    RealInput::ClickCentre(next);
    return nullptr;
}

// The installed uninstaller, continued as the player would, the keep box
// unticked first unless keepData; its exit code. continued: the click's time.
DWORD UninstallAsPlayer(const std::wstring& folder, bool keepData, DWORD& continued) {
    ClientProcess uninstaller;
    if (!uninstaller.Start(folder + L"\\" + kUninstallerExeName, folder)) return kProgramDidNotEnd;
    const std::wstring wizardTitle = std::wstring(kProductName) + L"卸载向导";
    HWND wizard = nullptr;
    if (!WaitFor([&] {
            wizard = FindProcessWindow(uninstaller.Id(), CImageCtrl::kClassName, wizardTitle.c_str());
            return wizard && IsWindowVisible(wizard);
        }, kDeadlineMs)) {
        return kProgramDidNotEnd;
    }
    if (!keepData) RealInput::Click(wizard, CFrame::kCheckBoxRect);
    RealInput::Click(wizard, CFrame::kContinueRect);
    continued = GetTickCount();
    return uninstaller.WaitForExit(60000);
}

// Within 10 s of the click the folder is gone and so is the script's cmd.
bool RemovedInTime(const std::wstring& folder, DWORD continued, const std::vector<DWORD>& scriptsBefore) {
    const DWORD left = 10000 - std::min<DWORD>(10000, GetTickCount() - continued);
    return WaitFor([&] { return !FileExists(folder) && ChildProcesses(0, L"cmd.exe").size() <= scriptsBefore.size(); },
                   left);
}

// The installer started with options and walked through; its exit code.
DWORD InstallAsPlayer(const std::wstring& options, const std::wstring& folder, const std::wstring& workDir) {
    ScopedKernelHandle process;
    DWORD id = 0;
    if (!StartProgram(InstallerPath(), workDir, process, &id, options)) return kProgramDidNotEnd;
    const char* stuck = WalkInstallerPages(id, folder);
    EXPECT_EQ(nullptr, stuck) << "where the player got stuck";
    // An installer left on a page is ended at once.
    return WaitProgram(process.Get(), stuck ? 0 : kDeadlineMs);
}

class RoundTrip : public ::testing::Test {
protected:
    ScratchDir scratch;
    std::wstring folder = scratch.File(kProductName);
    std::wstring config = folder + L"\\" + kConfigFileName;

    void SetUp() override {
        ASSERT_NE(0, StatsPort()) << "the client must be built with a loopback endpoint";
        RemoveInstallation();
    }
    void TearDown() override { RemoveInstallation(); PurgePlayerData(); }

    std::wstring Value(const wchar_t* section, const wchar_t* key) {
        wchar_t value[kConfigValueUnits];
        ReadConfigText(config.c_str(), section, key, value);
        return value;
    }
};

TEST_F(RoundTrip, InstallPlayAndUninstallLeaveNothingOfTheProduct) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    ASSERT_TRUE(stats.Listening());
    OpenedUrls opened;
    ASSERT_TRUE(opened.Ready());

    ASSERT_EQ(0u, InstallAsPlayer(L"/UID=31 /ADV=42", folder, scratch.Path()));
    EXPECT_TRUE(OpenUninstallKey(HKEY_CURRENT_USER)) << "the player's own entry";
    EXPECT_TRUE(FileExists(DesktopShortcut()));
    EXPECT_TRUE(FileExists(ProductMenuFolder()));
    EXPECT_TRUE(FileExists(folder + L"\\" + kUninstallerExeName));
    const std::wstring installTime = Value(kSectionInstall, kKeyInstallTime);
    ASSERT_FALSE(installTime.empty());

    // The installed client with its pages scripted: login, then a server.
    ASSERT_TRUE(CopyFileW((ExeDir() + L"\\vstorm_fake.exe").c_str(), (folder + L"\\" + kClientExeName).c_str(),
                          FALSE));
    wchar_t landing[kLandingUrlUnits];
    BuildLandingUrl(landing, installTime.c_str(), 31, 42, 0);
    const std::wstring xf = std::wstring(kLandingPage) + L"xf.html";
    const std::wstring game = std::wstring(kLandingPage) + L"play?act=gamelogin&server_id=7";
    ASSERT_TRUE(WriteFileBytes(folder + L"\\" + kFakePagesFile,
                               Narrow(L"page " + std::wstring(landing) + L"\nthen " + xf + L"\npage " + xf +
                                      L"\nelement login_user Alice\nthen " + game + L"\npage " + game + L"\n")));
    {
        ClientProcess client;
        ASSERT_TRUE(client.Start(folder + L"\\" + kClientExeName, folder));
        HWND frame = client.WaitForFrame();
        ASSERT_NE(nullptr, frame);
        ASSERT_TRUE(WaitFor([&] { return IsZoomed(frame) != FALSE; }, kDeadlineMs)) << "the game";
        EXPECT_EQ(0u, client.Close());
    }
    ASSERT_TRUE(stats.WaitForRequests(2, kDeadlineMs));
    const std::vector<LoopbackHttpServer::Request> played = stats.Requests();
    EXPECT_NE(std::string::npos, played[0].body.find("&action=install&")) << played[0].body;
    EXPECT_NE(std::string::npos, played[0].body.find("&agent_id=31&site_id=42")) << played[0].body;
    EXPECT_NE(std::string::npos, played[1].body.find("&action=close&")) << played[1].body;
    EXPECT_NE(std::string::npos, played[1].body.find("&agent_id=31&site_id=42&user_name=Alice")) << played[1].body;
    EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));
    EXPECT_EQ(L"Alice", Value(kSectionCommon, kKeyUserName));
    EXPECT_FALSE(Value(kSectionExtension, kKeyOutTime).empty());
    EXPECT_EQ(installTime, Value(kSectionInstall, kKeyInstallTime));

    // The player's settings, and the uninstaller with the keep box ticked.
    WriteConfigText(config.c_str(), kSectionCommon, kKeyBossKey, L"69");
    WriteConfigText(config.c_str(), kSectionPlayer, L"zoom", L"125");
    const std::vector<DWORD> scriptsBefore = ChildProcesses(0, L"cmd.exe");
    DWORD continued = 0;
    EXPECT_EQ(0u, UninstallAsPlayer(folder, true, continued));

    ASSERT_TRUE(stats.WaitForRequests(3, kDeadlineMs));
    const std::string report = stats.Requests()[2].body;
    EXPECT_EQ(0u, report.find("game_id=174&action=uninstall&")) << report;
    EXPECT_NE(std::string::npos, report.find("&agent_id=31&site_id=42&user_name=Alice")) << report;
    ASSERT_TRUE(opened.WaitForCount(1, kDeadlineMs));
    EXPECT_EQ(Narrow(kFarewellUrl), opened.Urls()[0]);
    EXPECT_FALSE(FileExists(DesktopShortcut()));
    EXPECT_FALSE(FileExists(ProductMenuFolder()));
    EXPECT_TRUE(FileExists(MakerMenuFolder())) << "the maker's group folder stays";
    // The self-removal script takes the rest, the entry only then, and its cmd ends.
    EXPECT_TRUE(RemovedInTime(folder, continued, scriptsBefore)) << "something is left on disk, or cmd runs";
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) EXPECT_FALSE(OpenUninstallKey(root));

    // Installed again: the player's data is back on the first run, which
    // is counted and reported as an installation again.
    ASSERT_EQ(0u, RunInstaller(L"/UID=31 /ADV=42", folder, scratch.Path()));
    {
        ClientProcess client;
        ASSERT_TRUE(client.Start(folder + L"\\" + kClientExeName, folder));
        ASSERT_TRUE(stats.WaitForRequests(4, kDeadlineMs));
        EXPECT_NE(std::string::npos, stats.Requests()[3].body.find("&action=install&")) << stats.Requests()[3].body;
        EXPECT_EQ(L"Alice", Value(kSectionCommon, kKeyUserName));
        EXPECT_EQ(L"69", Value(kSectionCommon, kKeyBossKey));
        EXPECT_EQ(L"125", Value(kSectionPlayer, L"zoom"));
        EXPECT_EQ(L"1", Value(kSectionCommon, kKeyRunCount));
        EXPECT_EQ(0u, client.Close());
    }

    // Unticked: nothing of the product stays, in the profile or the registry.
    EXPECT_EQ(0u, UninstallAsPlayer(folder, false, continued));
    EXPECT_TRUE(RemovedInTime(folder, continued, scriptsBefore));
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) EXPECT_FALSE(OpenUninstallKey(root));
    wchar_t data[MAX_PATH];
    EXPECT_TRUE(PlayerDataPath(nullptr, data) && !FileExists(data)) << "logs, dumps and kept data go";
    EXPECT_NE(0, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\"
                              L"FEATURE_LOCALMACHINE_LOCKDOWN", kClientExeName, RRF_RT_ANY, nullptr, nullptr, nullptr));
}

// Any name Windows allows for a folder: installed, then removed whole, the
// script and its cmd included. (Wine's cmd expands a variable's value
// again, so a name holding "%NAME%" of a defined variable is not in the
// table; Windows' cmd expands once.)
TEST_F(RoundTrip, EveryLegalFolderNameIsRemovedWhole) {
    LoopbackHttpServer stats(LoopbackHttpServer::Mode::Normal, StatsPort());
    for (const wchar_t* name : {L"R&D", L"100%", L"!^", L"(x)", L"Jos\u00e9", L"\u5f20\u4e09",
                                L"R&D 100% !^ (x) Jos\u00e9 \u5f20\u4e09"}) {
        const std::wstring target = scratch.File(name);
        SCOPED_TRACE(Narrow(target));
        ASSERT_EQ(0u, RunInstaller(L"", target, scratch.Path()));
        ASSERT_TRUE(FileExists(target + L"\\" + kUninstallerExeName));
        const std::vector<DWORD> scriptsBefore = ChildProcesses(0, L"cmd.exe");
        DWORD continued = 0;
        EXPECT_EQ(0u, UninstallAsPlayer(target, true, continued));
        EXPECT_TRUE(RemovedInTime(target, continued, scriptsBefore));
        EXPECT_FALSE(OpenUninstallKey(HKEY_CURRENT_USER));
    }
}

}  // namespace
