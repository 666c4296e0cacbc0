#include "frames/LinkOpener.h"
#include "frames/ClientApp.h"
#include "net/Endpoints.h"
#include "ui/TextBuf.h"
#include <shellapi.h>
void OpenLink(const wchar_t* url) { ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOW); }
void OpenTopUpLink(CClientApp& app, const wchar_t* serverId) {
    wchar_t name[CClientApp::kUserNameUnits];
    app.CopyUserName(name);
    wchar_t url[512];
    if (!serverId && !*name) Format(url, L"%s", kTopUpUrl);
    else if (serverId && *serverId) Format(url, L"%s&user_name=%s&server_id=%s", kTopUpUrl, name, serverId);
    else Format(url, L"%s&user_name=%s", kTopUpUrl, name);
    OpenLink(url);
}
