// The per-thread application manager and the process-wide toolkit state.
//
// Each UI thread has one CAppManager: it lists the thread's live toolkit
// windows (so WindowProc can find the object of a window), runs the message
// loop with its pre-translation chain, and owns the thread's GDI+ session
// while Run lasts. The process keeps a table of registered managers, the
// names of the window classes registered so far and the module instance;
// the table and the class names are shared by threads and guarded by one
// mutex.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class CWindowCtrl;
class GdiplusSession;

class CAppManager {
public:
    CAppManager();
    // Frees the control list; windows are not destroyed.
    virtual ~CAppManager();

    CAppManager(const CAppManager&) = delete;
    CAppManager& operator=(const CAppManager&) = delete;

    virtual bool InitInstance();
    virtual bool PreTranslateMessage(MSG* msg);
    // Called for messages of windows this manager does not know; the result
    // is ignored and default processing follows.
    virtual LRESULT OnUnhandledMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Registers the manager for the calling thread, starts GDI+, calls
    // InitInstance and, when that succeeded and created windows, runs the
    // message loop; then unregisters and shuts GDI+ down.
    void Run();

    // Runs the thread's message loop until WM_QUIT (true). Refused (false at
    // once) off the manager's thread or while the loop already runs.
    bool MessageLoop();

    // Offers msg to the registered controls of its window and the window's
    // ancestors, then to the manager itself; with the chain, to each manager
    // of the next-filter chain in the same way. True when consumed.
    bool PreTranslate(MSG* msg, bool withChain);

    // The control whose window is hwnd, or null.
    CWindowCtrl* FindControl(HWND hwnd) const;

    const std::vector<CWindowCtrl*>& Controls() const { return controls_; }
    DWORD ThreadId() const { return threadId_; }
    bool LoopRunning() const { return loopRunning_; }

    // Further manager consulted by MessageLoop after this one; null ends it.
    CAppManager* nextFilter = nullptr;

private:
    friend class CWindowCtrl;
    friend bool RegisterManager(CAppManager* manager);
    friend LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    friend INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);

    bool PreTranslateByAncestors(MSG* msg);
    void AddControl(CWindowCtrl* control);
    // Removes the first entry whose window is hwnd and returns it, or null.
    CWindowCtrl* RemoveControl(HWND hwnd);
    void ForgetControl(CWindowCtrl* control);

    std::vector<CWindowCtrl*> controls_;
    DWORD threadId_ = 0;
    std::unique_ptr<GdiplusSession> gdiplus_;
    bool loopRunning_ = false;
};

// Manager table. Register fails when the calling thread already has one.
bool RegisterManager(CAppManager* manager);
void UnregisterManager(DWORD threadId);
CAppManager* FindManager(DWORD threadId);

// The manager that WindowProc uses for the calling thread: the only one
// registered, when exactly one was registered into an empty table; else the
// one registered for the thread.
CAppManager* CurrentManager();

// Registers a toolkit window class with WindowProc once per process.
bool EnsureClassRegistered(const wchar_t* className);

// The executable's module instance (stored by Run).
HINSTANCE ModuleInstance();
