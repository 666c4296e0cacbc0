// A fake web browser control for tests, because Wine has no HTML engine.
//
// FakeWebBrowserRegistration registers a class factory for CLSID_WebBrowser
// in the calling thread's apartment (Wine finds registered classes only
// there), so every OleCreate of the browser control on that thread makes a
// fake instead. FakeBrowserThreadManager<M> does that for an HTML manager's
// thread, for the life of its loop.
//
// The fake answers what a browser host uses: IOleObject (in-place activation
// with DoVerb), IOleInPlaceObject, IOleInPlaceActiveObject, IWebBrowser2
// (Navigate2, Refresh, ExecWB, Silent, Document), connection points for
// DWebBrowserEvents2, IServiceProvider for its top window, IPersistStorage.
// Activated, it builds the real window hierarchy "Shell Embedding" >
// "Shell DocObject View" > "Internet Explorer_Server" under the host window,
// and a "MacromediaFlashPlayerActiveX" child under the last one for pages
// that hold a Flash player.
//
// Pages are scripted per URL (FakeWeb::SetPage). A navigation fires
// BeforeNavigate2 at once; the new document is there when Navigate2
// returns; NavigateComplete2, TitleChange, DocumentComplete, one NewWindow3
// per scripted pop-up and Quit (as scripted) follow from the control's
// message queue, with the argument layouts of the real control. The document answers
// title, body HTML, write/close and getElementById; elements answer inner
// text, the "value" attribute and click.
//
// Everything the fake saw is logged for the test to read, from any thread.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

struct FakeElement {
    std::wstring innerText;
    std::wstring value;
    bool hasValue = true;            // false: the "value" attribute reads as null
    std::wstring clickNavigatesTo;   // a click loads this URL
    std::wstring clickOpensWindow;   // a click asks for a new window with this URL (NewWindow3)
};

struct FakePage {
    std::wstring title;                           // fired as TitleChange when not empty
    std::wstring body;                            // the body's inner HTML
    std::map<std::wstring, FakeElement> elements; // by id
    std::vector<std::wstring> popups;             // window.open calls once the page is complete
    std::vector<std::wstring> unaskedPopups;      // the same without a user action
    std::vector<std::wstring> frames;             // frames loaded once the page is complete
    bool hasDocument = true;                      // false: the control shows no document
    bool completes = true;                        // false: no DocumentComplete (still loading)
    bool quits = false;                           // the page closes the browser: Quit at the end
    bool flash = false;                           // the page holds a Flash player window
    std::vector<std::wstring> then;               // once complete, the page navigates here (if refused, next)
    bool hangs = false;                           // then its script never yields the control's thread
    std::wstring clickGoesTo;                     // a player's click in the page loads this URL
};

// What the next fake controls fail at.
enum class FakeBrowserFault {
    None,
    Create,    // the class factory makes no object
    Activate,  // DoVerb fails after CanInPlaceActivate
    Advise,    // the event connection point refuses the sink
};

namespace FakeWeb {

// Forgets pages, logs and the fault.
void Reset();
// What url shows. An unscripted URL shows an empty document.
void SetPage(const std::wstring& url, const FakePage& page);
void SetFault(FakeBrowserFault fault);

// The navigations that went ahead, in order, frames' included.
std::vector<std::wstring> Navigations();
// Pop-ups whose NewWindow3 was not cancelled: windows the control opened.
std::vector<std::wstring> OpenedWindows();
// Ids of the clicked elements.
std::vector<std::wstring> Clicks();
// Key messages offered to the control's TranslateAccelerator: the target
// window's class and the virtual key. It answers S_OK for F5 only.
std::vector<std::pair<std::wstring, WPARAM>> OfferedKeys();
int Refreshes();
// ExecWB's commands with their VT_I4 value (-1 for any other), in order.
std::vector<std::pair<int, int>> Commands();
// The last value given to put_Silent, -1 before any.
int SilentValue();
// The thread that made the last control.
DWORD ControlThread();

// Live fake COM objects (controls, documents, elements) and windows.
long LiveObjects();
long LiveWindows();

}  // namespace FakeWeb

class FakeWebBrowserRegistration {
public:
    FakeWebBrowserRegistration();
    ~FakeWebBrowserRegistration();
    FakeWebBrowserRegistration(const FakeWebBrowserRegistration&) = delete;
    FakeWebBrowserRegistration& operator=(const FakeWebBrowserRegistration&) = delete;

    bool Registered() const { return cookie_ != 0; }

private:
    DWORD cookie_ = 0;
};

// An HTML manager whose thread makes fake controls; the registration ends
// with the loop, before the thread leaves OLE.
template <typename Manager>
class FakeBrowserThreadManager : public Manager {
public:
    bool InitInstance() override {
        FakeWebBrowserRegistration registration;
        return Manager::InitInstance();
    }
};
