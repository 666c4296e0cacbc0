#pragma once
#include <cstddef>
bool IsLoginUserPage(const wchar_t* url);
bool IsGameLoginUrl(const wchar_t* url);
bool ExtractServerId(const wchar_t* url, wchar_t (&id)[64]);
