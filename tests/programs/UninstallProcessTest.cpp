// The shipped 32-bit uninstaller as a whole process under Wine: a prepared
// installation, the wizard and its question answered by a player's mouse
// and keyboard, and afterwards the files, the registry, the report that
// reached the loopback statistics endpoint, the farewell page that
// winebrowser was asked to open, and the self-removal script. The running
// client it asks about is the client of the x86_64 tree.
//
// The Desktop of Wine's prefix is a link to the Unix home folder; for these
// tests the user's Desktop is redirected to a scratch folder.
#include "base/PlayerData.h"
#include "base/Product.h"
#include "net/Endpoints.h"
#include "net/UnixTime.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/OpenedUrls.h"
#include "tests/support/RealInput.h"
#include "tests/support/RegistryValueOverride.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestProcess.h"
#include "tests/support/TestWindows.h"
#include "uninstall/Frame.h"
#include "uninstall/UninstallUuid.h"
#include "uninstall/WindowSearch.h"
#include "base/Scoped.h"
#include "base/TextBuf.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kWizardTitle[] = L"Orvane Stormvale卸载向导";
constexpr wchar_t kQuestion[] = L"<Orvane Stormvale>正在运行,是否关闭<Orvane Stormvale>？";
constexpr wchar_t kNotInstalled[] = L"这里不是 Orvane Stormvale 的安装文件夹，卸载程序没有删除任何内容。";
constexpr wchar_t kLeftBehind[] = L"卸载程序未能删除文件夹“";
constexpr DWORD kDeadlineMs = 30000;
constexpr DWORD kSelfRemovalMs = 10000;

std::string Narrow(const std::wstring& text) {
    char narrow[1024];
    WideToAnsi(text.c_str(), narrow);
    return narrow;
}

std::wstring Special(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool MakeFolder(const std::wstring& path) {
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring UninstallKeyPath() { return std::wstring(kUninstallParentKey) + L"\\" + kProductName; }

bool UninstallEntryExists(HKEY root = HKEY_CURRENT_USER) {
    HKEY opened = nullptr;
    const LONG result =
        RegOpenKeyExW(root, UninstallKeyPath().c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened);
    ScopedRegKey key(opened);
    return result == ERROR_SUCCESS;
}

bool CreateUninstallEntry(HKEY root, const std::wstring& location) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(root, UninstallKeyPath().c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    ScopedRegKey key(created);
    return RegSetValueExW(key.Get(), kInstallLocationValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(location.c_str()),
                          static_cast<DWORD>((location.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// A running copy of a program, ended when the object goes.
class Process {
public:
    Process(const std::wstring& program, const std::wstring& commandLine)
        : handle_(StartCommandLine(program, commandLine, &id_)) {}
    ~Process() {
        if (handle_ && WaitForSingleObject(handle_.Get(), 0) != WAIT_OBJECT_0) {
            TerminateProcess(handle_.Get(), 1);
            WaitForSingleObject(handle_.Get(), 5000);
        }
    }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_.Get(); }
    // The exit code, or kProgramDidNotEnd when it still runs after ms.
    DWORD Wait(DWORD ms) const {
        if (!handle_ || WaitForSingleObject(handle_.Get(), ms) != WAIT_OBJECT_0) return kProgramDidNotEnd;
        DWORD code = kProgramDidNotEnd;
        GetExitCodeProcess(handle_.Get(), &code);
        return code;
    }

private:
    ScopedKernelHandle handle_;
    DWORD id_ = 0;
};

HWND FindWindowOf(DWORD processId, const wchar_t* className, const wchar_t* title, DWORD ms) {
    WindowSearch search{};
    PumpUntil(
        [&] {
            search = WindowSearch{};
            search.processId = processId;
            CopyText(search.className, className);
            CopyText(search.title, title);
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        ms);
    return search.found;
}

class UninstallProcess : public ::testing::Test {
protected:
    ScratchDir dir;
    std::wstring desktop = dir.File(L"Desktop");
    RegistryValueOverride desktopOverride{kShellFoldersKey, L"Desktop", desktop, REG_EXPAND_SZ};
    OpenedUrls opened;
    LoopbackHttpServer server{LoopbackHttpServer::Mode::Normal, StatsPort()};
    std::wstring install = dir.File(L"Orvane Stormvale");
    std::wstring programs = Special(CSIDL_PROGRAMS);
    std::wstring shortcut = desktop + L"\\Orvane Stormvale.lnk";
    std::wstring groupFolder = programs + L"\\Orvane Games\\Orvane Stormvale";
    std::wstring topFolder = programs + L"\\Orvane Stormvale";

    void SetUp() override {
        ASSERT_TRUE(server.Listening());
        ASSERT_TRUE(MakeFolder(desktop));
        ASSERT_EQ(desktop, Special(CSIDL_DESKTOPDIRECTORY));
        ASSERT_TRUE(opened.Ready());
    }
    void TearDown() override {
        // A script left running would hold the test's output open.
        EndChildProcesses(0, L"cmd.exe", 0, cmdBefore);
        EndChildProcesses(0, L"conhost.exe", 0, conhostBefore);
        RemoveTree(groupFolder);
        RemoveTree(topFolder);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, UninstallKeyPath().c_str(), KEY_WOW64_32KEY, 0);
        RegDeleteKeyExW(HKEY_CURRENT_USER, UninstallKeyPath().c_str(), KEY_WOW64_32KEY, 0);
        PurgePlayerData();  // kept data would come back in a later test's client
    }

    // The installer's work: both programs and Config.ini in folder, the
    // registry entry, the desktop shortcut and both Start-menu folders.
    void PrepareInstallation(const std::wstring& folder, bool withConfig = true, HKEY entryRoot = HKEY_CURRENT_USER) {
        ASSERT_TRUE(MakeFolder(folder));
        ASSERT_TRUE(CopyFileW((ExeDir() + L"\\uninstall.exe").c_str(), (folder + L"\\uninstall.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((TreeBin(L"x86_64") + L"\\vstorm.exe").c_str(), (folder + L"\\vstorm.exe").c_str(),
                              FALSE));
        if (withConfig) {
            ASSERT_TRUE(WriteFileBytes(folder + L"\\Config.ini",
                                       "[Common]\r\nuser_name=a b&c=1\r\nUID=12\r\nADV=34\r\nRunCount=3\r\n"));
        }
        ASSERT_TRUE(MakeFolder(folder + L"\\cache"));
        ASSERT_TRUE(WriteFileBytes(folder + L"\\cache\\page.dat", "cache"));
        ASSERT_TRUE(CreateUninstallEntry(entryRoot, folder));
        ASSERT_TRUE(WriteFileBytes(shortcut, "shortcut"));
        ASSERT_TRUE(MakeFolder(programs + L"\\Orvane Games"));
        ASSERT_TRUE(MakeFolder(groupFolder));
        ASSERT_TRUE(WriteFileBytes(groupFolder + L"\\Orvane Stormvale.lnk", "lnk"));
        ASSERT_TRUE(MakeFolder(topFolder));
        ASSERT_TRUE(WriteFileBytes(topFolder + L"\\Uninstall.lnk", "lnk"));
    }

    // Starts the uninstaller in folder, runs drive on its wizard, and
    // returns its exit code once it ended (kProgramDidNotEnd otherwise).
    DWORD RunWizard(const std::wstring& folder, const std::function<void(HWND, DWORD)>& drive) {
        cmdBefore = ChildProcesses(0, L"cmd.exe");
        conhostBefore = ChildProcesses(0, L"conhost.exe");
        Process uninstaller(folder + L"\\uninstall.exe", L"uninstall.exe");
        HWND wizard = FindWindowOf(uninstaller.Id(), CImageCtrl::kClassName, kWizardTitle, 15000);
        EXPECT_NE(nullptr, wizard) << "no wizard";
        if (!wizard) return kProgramDidNotEnd;
        RECT shown{};
        GetWindowRect(wizard, &shown);
        EXPECT_NEAR(Px(CFrame::kWidth), shown.right - shown.left, 1) << "the wizard at the screen's scale";
        EXPECT_NEAR(Px(CFrame::kHeight), shown.bottom - shown.top, 1);
        drive(wizard, uninstaller.Id());
        return uninstaller.Wait(60000);
    }
    // The wizard's 96-DPI lengths at the screen's DPI (it fits every screen
    // these tests make).
    static int Px(int value) {
        ScopedWindowDc screen(nullptr);
        return MulDiv(value, GetDeviceCaps(screen.Get(), LOGPIXELSX), 96);
    }
    static void Click(HWND wizard, const RECT& element) {
        RealInput::Click(wizard, RECT{Px(element.left), Px(element.top), Px(element.right), Px(element.bottom)});
    }
    static void Continue(HWND wizard, DWORD) {
        Click(wizard, CFrame::kContinueRect);
        continuedAt = GetTickCount();
    }
    // Continues (unless wizard is null) where the wizard asks to close the
    // client, and answers with a click on the question's button (IDYES,
    // IDNO). Returns the question once it went, or why it did not.
    static std::wstring ContinueAndAnswer(HWND wizard, DWORD id, int answer) {
        if (wizard) Continue(wizard, id);
        HWND box = FindWindowOf(id, L"#32770", kProductName, kDeadlineMs);
        HWND button = box ? GetDlgItem(box, answer) : nullptr;
        if (!button || !PumpUntil([&] { return IsWindowVisible(button) != FALSE; }, kDeadlineMs)) {
            return L"(no question)";
        }
        wchar_t text[256] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 256);
        RealInput::ClickCentre(button);
        if (!PumpUntil([&] { return !IsWindow(box); }, kDeadlineMs)) return L"(not answered)";
        return text;
    }
    // No more cmd than before the last uninstaller started (Wine forgets an ended parent).
    bool NoScriptRuns() const { return ChildProcesses(0, L"cmd.exe").size() <= cmdBefore.size(); }
    // Within 10 s of Continue the folder is gone and so is the script's cmd.
    void ExpectRemovedInTime(const std::wstring& folder) const {
        const DWORD left = kSelfRemovalMs - std::min(kSelfRemovalMs, GetTickCount() - continuedAt);
        EXPECT_TRUE(WaitFor([&] { return !FileExists(folder) && NoScriptRuns(); }, left)) << "it stays or runs";
    }
    std::string Report() {
        if (!server.WaitForRequests(1, 20000)) return std::string();
        return server.Requests()[0].body;
    }

    std::vector<DWORD> cmdBefore;
    std::vector<DWORD> conhostBefore;
    static inline DWORD continuedAt = 0;
};

uint64_t LocalNow() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return SystemTimeToUnixSeconds(local);
}

TEST_F(UninstallProcess, ContinueRemovesTheInstallationInOrderReportsAndEnds) {
    PrepareInstallation(install);
    ASSERT_TRUE(CreateUninstallEntry(HKEY_LOCAL_MACHINE, dir.Path()));  // another installation's
    const std::wstring features = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_";
    const std::wstring emulation = features + L"BROWSER_EMULATION", gpu = features + L"GPU_RENDERING";
    const DWORD on = 1;
    for (const std::wstring& key : {emulation, gpu}) {
        for (const wchar_t* exe : {kClientExeName, L"other.exe"}) {
            RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), exe, REG_DWORD, &on, sizeof(on));
        }
    }
    // The reply waits, so the state at the moment of the report can be seen.
    server.SetMode(LoopbackHttpServer::Mode::Slow);
    server.SetDelay(2000);
    const uint64_t before = LocalNow();
    bool entryAtReport = true, configAtReport = false, shortcutAtReport = false;
    const DWORD code = RunWizard(install, [&](HWND wizard, DWORD id) {
        Click(wizard, CFrame::kCheckBoxRect);  // unticked, it changes nothing of what goes
        Continue(wizard, id);
        ASSERT_TRUE(server.WaitForRequests(1, 20000));
        entryAtReport = UninstallEntryExists();
        configAtReport = FileExists(install + L"\\Config.ini");
        shortcutAtReport = FileExists(shortcut);
    });
    const uint64_t after = LocalNow();
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(entryAtReport) << "the uninstall entry stays until the folder is gone";
    EXPECT_TRUE(configAtReport) << "the folder goes after the report";
    EXPECT_TRUE(shortcutAtReport) << "the shortcut goes after the report";

    // The report, byte for byte.
    const LoopbackHttpServer::Request request = server.Requests()[0];
    EXPECT_EQ("POST", request.method);
    EXPECT_EQ("/", request.target);
    const std::string prefix = "game_id=174&action=uninstall&uninstall_time=";
    ASSERT_EQ(0u, request.body.find(prefix)) << request.body;
    const uint64_t time = std::stoull(request.body.substr(prefix.size()));
    EXPECT_LE(before, time);
    EXPECT_GE(after, time);
    EXPECT_EQ(prefix + std::to_string(time) + "&uuid=" + BuildUninstallUuid() +
                  "&agent_id=12&site_id=34&user_name=a%20b%26c%3D1",
              request.body);

    // Everything of the installation is gone.
    for (const std::wstring& key : {emulation, gpu}) {
        EXPECT_NE(0, RegGetValueW(HKEY_CURRENT_USER, key.c_str(), kClientExeName, RRF_RT_ANY, nullptr, nullptr,
                                  nullptr));
        EXPECT_EQ(0, RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"other.exe")) << "another program's stays";
    }
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_FALSE(FileExists(groupFolder));
    EXPECT_TRUE(FileExists(programs + L"\\Orvane Games")) << "the maker's group stays";
    EXPECT_FALSE(FileExists(topFolder));
    EXPECT_FALSE(FileExists(install + L"\\Config.ini"));
    EXPECT_FALSE(FileExists(install + L"\\vstorm.exe"));
    EXPECT_FALSE(FileExists(install + L"\\cache"));
    ExpectRemovedInTime(install);
    EXPECT_FALSE(UninstallEntryExists());
    EXPECT_TRUE(UninstallEntryExists(HKEY_LOCAL_MACHINE)) << "it names another folder";
    EXPECT_FALSE(FileExists(Special(CSIDL_LOCAL_APPDATA) + L"\\" + kProductName)) << "unticked: no data kept";

    // The farewell page went to the browser.
    opened.WaitForCount(1, 15000);
    EXPECT_EQ(std::vector<std::string>{Narrow(kFarewellUrl)}, opened.Urls());
}

TEST_F(UninstallProcess, ARunningClientIsEndedAfterYesAndAnotherWindowStays) {
    PrepareInstallation(install);
    Process client(install + L"\\vstorm.exe", L"vstorm.exe");
    ASSERT_NE(nullptr, FindWindowOf(client.Id(), kClientWindowClass, kProductName, kDeadlineMs));
    // Another program whose window bears the game's name.
    Process other(L"C:\\windows\\notepad.exe", L"notepad.exe");
    HWND otherWindow = FindWindowOf(other.Id(), L"Notepad", L"", kDeadlineMs);
    ASSERT_NE(nullptr, otherWindow);
    ASSERT_TRUE(SetWindowTextW(otherWindow, kProductName));
    std::wstring question;
    const DWORD code = RunWizard(install, [&](HWND wizard, DWORD id) {
        question = ContinueAndAnswer(wizard, id, IDYES);
    });
    EXPECT_EQ(0u, code);
    EXPECT_EQ(kQuestion, question);
    EXPECT_EQ(0u, client.Wait(10000)) << "ended by TerminateProcess with code 0";
    EXPECT_EQ(kProgramDidNotEnd, other.Wait(0)) << "another class is another program";
    EXPECT_FALSE(FileExists(install + L"\\Config.ini"));
    // Ended, not closed: the client sent no exit report.
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_EQ(0u, server.Requests()[0].body.find("game_id=174&action=uninstall&"));
}

TEST_F(UninstallProcess, NoLeavesEverythingAndCancelEnds) {
    PrepareInstallation(install);
    Process client(install + L"\\vstorm.exe", L"vstorm.exe");
    ASSERT_NE(nullptr, FindWindowOf(client.Id(), kClientWindowClass, kProductName, kDeadlineMs));
    bool wizardStayed = false;
    std::wstring question;
    const DWORD code = RunWizard(install, [&](HWND wizard, DWORD id) {
        question = ContinueAndAnswer(wizard, id, IDNO);
        wizardStayed = IsWindow(wizard) != FALSE;
        Click(wizard, CFrame::kCancelRect);
    });
    EXPECT_EQ(0u, code);
    EXPECT_EQ(kQuestion, question);
    EXPECT_TRUE(wizardStayed);
    EXPECT_EQ(kProgramDidNotEnd, client.Wait(0));
    EXPECT_TRUE(UninstallEntryExists());
    EXPECT_TRUE(FileExists(shortcut));
    EXPECT_TRUE(FileExists(groupFolder));
    EXPECT_TRUE(FileExists(install + L"\\Config.ini"));
    EXPECT_FALSE(FileExists(install + L"\\orvane_uninstall.bat"));
    EXPECT_TRUE(server.Requests().empty());
}

// The close button, Alt+F4 and the taskbar's Close.
TEST_F(UninstallProcess, ClosingWhileTheWorkerRunsChangesNothingAndItFinishes) {
    PrepareInstallation(install);
    server.SetMode(LoopbackHttpServer::Mode::Slow);
    server.SetDelay(2000);
    bool stayed = false;
    const DWORD code = RunWizard(install, [&](HWND wizard, DWORD id) {
        Continue(wizard, id);
        ASSERT_TRUE(server.WaitForRequests(1, 20000));
        Click(wizard, CFrame::kCloseRect);
        RealInput::Key(VK_F4, VK_MENU);
        PostMessageW(wizard, WM_CLOSE, 0, 0);
        PumpMessages(300);
        stayed = IsWindow(wizard) != FALSE;
    });
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(stayed);
    ExpectRemovedInTime(install);
    EXPECT_FALSE(UninstallEntryExists());
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_FALSE(FileExists(topFolder));
    EXPECT_FALSE(FileExists(install + L"\\Config.ini"));
}

// Also: the script waits for an uninstaller held open; HKLM's entry counts.
TEST_F(UninstallProcess, MissingConfigSendsZerosALongNameIsCutAndTheScriptWaits) {
    PrepareInstallation(install, false);
    ScopedKernelHandle held;
    EXPECT_EQ(0u, RunWizard(install, [&](HWND wizard, DWORD id) {
        held.Reset(CreateFileW((install + L"\\uninstall.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr));
        Continue(wizard, id);
    }));
    Sleep(2000);
    EXPECT_TRUE(held && FileExists(install + L"\\uninstall.exe"));
    held.Reset();
    ExpectRemovedInTime(install);
    const std::string body = Report();
    EXPECT_NE(std::string::npos, body.find("&agent_id=0&site_id=0&user_name=")) << body;
    EXPECT_EQ("&user_name=", body.substr(body.size() - 11));

    const std::wstring second = dir.File(L"second");
    PrepareInstallation(second, false, HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(WriteFileBytes(second + L"\\Config.ini", "[Common]\r\nuser_name=" + std::string(200, 'n') + "\r\n"));
    EXPECT_EQ(0u, RunWizard(second, Continue));
    ExpectRemovedInTime(second);
    EXPECT_FALSE(UninstallEntryExists(HKEY_LOCAL_MACHINE));
    ASSERT_TRUE(server.WaitForRequests(2, 20000));
    const std::string longBody = server.Requests()[1].body;
    EXPECT_EQ("&user_name=" + std::string(63, 'n'), longBody.substr(longBody.find("&user_name=")));
}

// Decoys in a folder and a subfolder; true when every byte is still there.
class Decoys {
public:
    explicit Decoys(const std::wstring& folder) : folder_(folder) {
        WriteFileBytes(File(), "decoy file");
        MakeFolder(Sub());
        WriteFileBytes(Sub() + L"\\inner.txt", "decoy inner");
    }
    ~Decoys() {
        DeleteFileW(File().c_str());
        RemoveTree(Sub());
    }
    bool Intact() const {
        return ReadFileBytes(File()) == "decoy file" && ReadFileBytes(Sub() + L"\\inner.txt") == "decoy inner";
    }

private:
    std::wstring File() const { return folder_ + L"\\vstorm-decoy.txt"; }
    std::wstring Sub() const { return folder_ + L"\\vstorm-decoy"; }
    std::wstring folder_;
};

// A copy among someone's files (a client and Config.ini even), below the Desktop, in
// dangerous places, in the registered folder without client: a notice, nothing touched.
TEST_F(UninstallProcess, OutsideAnInstallationItTouchesNothing) {
    PrepareInstallation(install);
    const std::wstring someones = dir.File(L"someone's files"), tools = desktop + L"\\tools";
    ASSERT_TRUE(MakeFolder(someones) && MakeFolder(tools));
    ASSERT_TRUE(CopyFileW((install + L"\\vstorm.exe").c_str(), (someones + L"\\vstorm.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(someones + L"\\Config.ini", "[Common]\r\nUID=1\r\n"));
    ASSERT_TRUE(DeleteFileW((install + L"\\vstorm.exe").c_str()));
    for (const std::wstring& folder : {someones, tools, std::wstring(L"C:"), Special(CSIDL_PROFILE), install}) {
        SCOPED_TRACE(Narrow(folder));
        Decoys decoys(folder);
        const std::wstring exe = folder + L"\\uninstall.exe";
        ASSERT_TRUE(CopyFileW((ExeDir() + L"\\uninstall.exe").c_str(), exe.c_str(), FALSE));
        cmdBefore = ChildProcesses(0, L"cmd.exe");
        Process uninstaller(exe, L"uninstall.exe");
        EXPECT_EQ(kNotInstalled, ContinueAndAnswer(nullptr, uninstaller.Id(), IDOK));
        EXPECT_EQ(0u, uninstaller.Wait(kDeadlineMs));
        EXPECT_TRUE(decoys.Intact());
        EXPECT_TRUE(NoScriptRuns() && !FileExists(folder + L"\\orvane_uninstall.bat"));
        DeleteFileW(exe.c_str());
    }
    EXPECT_TRUE(FileExists(someones + L"\\Config.ini") && FileExists(install + L"\\Config.ini"));
    EXPECT_TRUE(UninstallEntryExists() && FileExists(shortcut) && FileExists(topFolder));
    EXPECT_TRUE(server.Requests().empty() && opened.Urls().empty()) << "no report, no farewell page";
}

// A link inside, as a Start-menu folder or as the installation: what lies
// behind stays (Wine 8 keeps the links too, and runs no script then: the
// player is told, and the entry stays).
TEST_F(UninstallProcess, NoLinkIsFollowed) {
    PrepareInstallation(install);
    ScratchDir inside, menu;
    Decoys insideDecoys(inside.Path()), menuDecoys(menu.Path());
    ASSERT_TRUE(MakeSymbolicLink(install + L"\\saves", inside.Path()));
    RemoveTree(topFolder);
    ASSERT_TRUE(MakeSymbolicLink(topFolder, menu.Path()));
    std::wstring notice;
    EXPECT_EQ(0u, RunWizard(install, [&](HWND wizard, DWORD id) { notice = ContinueAndAnswer(wizard, id, IDOK); }));
    EXPECT_EQ(0u, notice.find(kLeftBehind)) << Narrow(notice);
    EXPECT_TRUE(UninstallEntryExists());
    EXPECT_TRUE(insideDecoys.Intact() && menuDecoys.Intact());
    EXPECT_FALSE(FileExists(install + L"\\Config.ini") || FileExists(install + L"\\orvane_uninstall.bat"));
    // Wine shows no link whose target has gone: they go first.
    RemoveSymbolicLink(topFolder);
    RemoveSymbolicLink(install + L"\\saves");

    PrepareInstallation(inside.Path());
    const std::wstring linked = dir.File(L"linked");
    ASSERT_TRUE(MakeSymbolicLink(linked, inside.Path()) && CreateUninstallEntry(HKEY_CURRENT_USER, linked));
    EXPECT_EQ(0u, RunWizard(linked, [&](HWND wizard, DWORD id) { notice = ContinueAndAnswer(wizard, id, IDOK); }));
    EXPECT_EQ(FileExists(linked), notice.find(kLeftBehind) == 0) << "told exactly when the link stays";
    EXPECT_EQ(FileExists(linked), UninstallEntryExists()) << "it was the installation: its entry goes with it";
    EXPECT_TRUE(insideDecoys.Intact() && FileExists(inside.File(L"Config.ini")) && NoScriptRuns());
    RemoveSymbolicLink(linked);
}

// A script of the script's name that the uninstaller did not write (here
// read-only, so that neither the worker nor the finish can delete it).
TEST_F(UninstallProcess, APlantedScriptNeverRuns) {
    PrepareInstallation(install);
    const std::wstring marker = dir.File(L"marker.txt"), planted = install + L"\\orvane_uninstall.bat";
    const std::string plantedText = "@echo off\r\necho planted> \"" + Narrow(marker) + "\"\r\n";
    ASSERT_TRUE(WriteFileBytes(planted, plantedText) && SetFileAttributesW(planted.c_str(), FILE_ATTRIBUTE_READONLY));
    std::wstring notice;
    EXPECT_EQ(0u, RunWizard(install, [&](HWND wizard, DWORD id) { notice = ContinueAndAnswer(wizard, id, IDOK); }));
    EXPECT_EQ(0u, notice.find(kLeftBehind)) << Narrow(notice);
    Sleep(3000);
    EXPECT_FALSE(FileExists(marker));
    EXPECT_TRUE(ReadFileBytes(planted) == plantedText && NoScriptRuns());
}

}  // namespace
