// The entry of every test program: OLE and GDI+ for the main thread, plain
// "\n" line ends (ctest reads the case list from standard output).
#include "ui/ScopedGdi.h"
#include "ui/ScopedCom.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <memory>

namespace {

class PlatformEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ole_ = std::make_unique<OleSession>();
        gdiplus_ = std::make_unique<GdiplusSession>();
    }
    void TearDown() override {
        gdiplus_.reset();
        ole_.reset();
    }

private:
    std::unique_ptr<OleSession> ole_;
    std::unique_ptr<GdiplusSession> gdiplus_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new PlatformEnvironment);
    const int result = RUN_ALL_TESTS();
    // The verdict is out. A form post's worker left blocked in Wine's WinINet
    // past its deadline was seen to hold the program's normal exit (DLL
    // detach) for minutes under a loaded run: end without it.
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
