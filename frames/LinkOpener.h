#pragma once
class CClientApp;
void OpenLink(const wchar_t* url);
void OpenTopUpLink(CClientApp& app, const wchar_t* serverId);
