#include "app/InstallReport.h"

#include "app/Statistics.h"
#include "net/PostForm.h"

#include <memory>

namespace {

struct ReportIds {
    int agentId;
    int siteId;
};

// The thread owns its copy of the identifiers: it never touches the
// report object, which may be gone before the thread is.
DWORD WINAPI SendOnThread(void* param) {
    std::unique_ptr<ReportIds> ids(static_cast<ReportIds*>(param));
    SendInstallReport(ids->agentId, ids->siteId);
    return 0;
}

}  // namespace

CInstallReport::~CInstallReport() { Finish(); }

void CInstallReport::Start(int agentId, int siteId) {
    if (started_) return;
    started_ = true;
    auto ids = std::make_unique<ReportIds>(ReportIds{agentId, siteId});
    startedAt_ = GetTickCount();
    thread_.Reset(CreateThread(nullptr, 0, SendOnThread, ids.get(), 0, nullptr));
    if (thread_) {
        static_cast<void>(ids.release());  // SendOnThread owns them now
    } else {
        SendInstallReport(agentId, siteId);
    }
}

void CInstallReport::Finish() {
    if (!thread_) return;
    const DWORD deadline = kBuildAllowanceMs + kPostDeadlineMs;
    const DWORD elapsed = GetTickCount() - startedAt_;
    WaitForSingleObject(thread_.Get(), elapsed < deadline ? deadline - elapsed : 0);
    thread_.Reset();
}
