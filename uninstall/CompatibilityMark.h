// The program-compatibility assistant's list: the uninstaller
// enters its own path as a handled program, so the system does not ask
// afterwards whether it uninstalled correctly.
#pragma once

// Under HKEY_CURRENT_USER.
inline constexpr wchar_t kCompatibilityPersistedKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";

// Sets the REG_DWORD value 1 named after the running executable's path in
// HKCU\...\AppCompatFlags\Compatibility Assistant\Persisted. The key is
// opened, never created. True when the value was written.
bool MarkCompatibilityHandled();
