// The addresses programs hand to the shell. Under Wine, opening a URL runs
// winebrowser, which starts the programs listed in the registry value
// HKCU\Software\Wine\WineBrowser "Browsers". While an OpenedUrls lives,
// that list names only log-url.sh (put beside the test programs by the
// build), which logs each address; the old list comes back afterwards.
#pragma once

#include "tests/support/RegistryValueOverride.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class OpenedUrls {
public:
    OpenedUrls();
    ~OpenedUrls();
    OpenedUrls(const OpenedUrls&) = delete;
    OpenedUrls& operator=(const OpenedUrls&) = delete;

    // False when the logging browser could not be put in place.
    bool Ready() const { return ready_; }
    // The addresses logged so far, in order.
    std::vector<std::string> Urls() const;
    // Forgets what was logged so far.
    void Clear() const;
    // Waits until at least count addresses were logged; false on time-out.
    bool WaitForCount(size_t count, DWORD ms) const;

private:
    std::wstring log_;
    std::optional<RegistryValueOverride> browsers_;
    bool ready_ = false;
};
