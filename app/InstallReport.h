// The install report of a client's first run, sent on a thread of its own:
// it starts once the launcher is on screen and goes out however slowly the
// statistics endpoint answers. The exit report waits for it (Finish), so
// the endpoint hears of the install before the close and no report is lost
// to the end of a short run.
#pragma once

#include "base/Scoped.h"

#include <windows.h>

class CInstallReport {
public:
    // Building the report (the adapters' addresses, the clock) before the
    // post's own deadline starts.
    static constexpr DWORD kBuildAllowanceMs = 1000;

    CInstallReport() = default;
    // Finishes a report still going out.
    ~CInstallReport();
    CInstallReport(const CInstallReport&) = delete;
    CInstallReport& operator=(const CInstallReport&) = delete;

    // Starts sending the report; without a thread it is sent here and now.
    // Later calls do nothing: one report per object.
    void Start(int agentId, int siteId);
    // Waits for a report still going out, at the latest until its deadline
    // counted from Start; a report that misses it is abandoned as the poster
    // abandons it. Nothing when no report was started.
    void Finish();

private:
    ScopedKernelHandle thread_;
    bool started_ = false;
    DWORD startedAt_ = 0;
};
