#include "ui/AppManager.h"

#include "ui/ScopedGdi.h"
#include "ui/WindowCtrl.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>

namespace {

// The process-wide toolkit state. The table and the class names are only
// touched under the lock; the single-manager pointer is also read without it
// by the window procedure, hence atomic.
std::mutex g_lock;
std::vector<CAppManager*> g_managers;
std::atomic<CAppManager*> g_singleManager{nullptr};
std::vector<std::wstring> g_classNames;
std::atomic<HINSTANCE> g_instance{nullptr};

}  // namespace

bool RegisterManager(CAppManager* manager) {
    if (!manager) return false;
    const DWORD threadId = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(g_lock);
    for (CAppManager* m : g_managers) {
        if (m->ThreadId() == threadId) return false;
    }
    manager->threadId_ = threadId;
    g_singleManager.store(g_managers.empty() ? manager : nullptr);
    g_managers.push_back(manager);
    return true;
}

void UnregisterManager(DWORD threadId) {
    std::lock_guard<std::mutex> lock(g_lock);
    auto it = std::find_if(g_managers.begin(), g_managers.end(),
                           [threadId](CAppManager* m) { return m->ThreadId() == threadId; });
    if (it != g_managers.end()) g_managers.erase(it);
    if (g_managers.empty()) g_singleManager.store(nullptr);
}

CAppManager* FindManager(DWORD threadId) {
    std::lock_guard<std::mutex> lock(g_lock);
    for (CAppManager* m : g_managers) {
        if (m->ThreadId() == threadId) return m;
    }
    return nullptr;
}

CAppManager* CurrentManager() {
    if (CAppManager* single = g_singleManager.load()) return single;
    return FindManager(GetCurrentThreadId());
}

bool EnsureClassRegistered(const wchar_t* className) {
    if (!className || !*className) return false;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        for (const std::wstring& name : g_classNames) {
            if (name == className) return true;
        }
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    std::lock_guard<std::mutex> lock(g_lock);
    g_classNames.emplace_back(className);
    return true;
}

HINSTANCE ModuleInstance() {
    // Windows made before Run (tests that register a manager themselves)
    // still need the executable's instance.
    HINSTANCE instance = g_instance.load();
    if (!instance) {
        instance = GetModuleHandleW(nullptr);
        g_instance.store(instance);
    }
    return instance;
}

CAppManager::CAppManager() = default;

CAppManager::~CAppManager() {
    // Objects that outlive their manager must not reach back into it.
    for (CWindowCtrl* control : controls_) control->manager_ = nullptr;
}

bool CAppManager::InitInstance() { return true; }

bool CAppManager::PreTranslateMessage(MSG*) { return false; }

LRESULT CAppManager::OnUnhandledMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }

void CAppManager::Run() {
    if (!RegisterManager(this)) return;
    g_instance.store(GetModuleHandleW(nullptr));
    gdiplus_ = std::make_unique<GdiplusSession>();
    if (InitInstance() && !controls_.empty()) MessageLoop();
    UnregisterManager(threadId_);
    gdiplus_.reset();
}

bool CAppManager::MessageLoop() {
    if (threadId_ == 0 || GetCurrentThreadId() != threadId_ || loopRunning_) return false;
    loopRunning_ = true;
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            loopRunning_ = false;
            return got == 0;
        }
        if (PreTranslate(&msg, true)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool CAppManager::PreTranslate(MSG* msg, bool withChain) {
    if (PreTranslateByAncestors(msg) || PreTranslateMessage(msg)) return true;
    if (!withChain) return false;
    for (CAppManager* filter = nextFilter; filter && filter != this; filter = filter->nextFilter) {
        if (filter->PreTranslateByAncestors(msg) || filter->PreTranslateMessage(msg)) return true;
    }
    return false;
}

bool CAppManager::PreTranslateByAncestors(MSG* msg) {
    for (HWND window = msg->hwnd; window; window = GetParent(window)) {
        CWindowCtrl* control = FindControl(window);
        if (control && control->PreTranslateMessage(msg)) return true;
    }
    return false;
}

CWindowCtrl* CAppManager::FindControl(HWND hwnd) const {
    if (!hwnd) return nullptr;
    for (CWindowCtrl* control : controls_) {
        if (control->hwnd_ == hwnd) return control;
    }
    return nullptr;
}

void CAppManager::AddControl(CWindowCtrl* control) {
    if (!FindControl(control->hwnd_)) controls_.push_back(control);
}

CWindowCtrl* CAppManager::RemoveControl(HWND hwnd) {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [hwnd](CWindowCtrl* c) { return c->hwnd_ == hwnd; });
    if (it == controls_.end()) return nullptr;
    CWindowCtrl* control = *it;
    controls_.erase(it);
    return control;
}

void CAppManager::ForgetControl(CWindowCtrl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}
