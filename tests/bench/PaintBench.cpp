// Measures the layered Redraw of a window like the back frame (a 1450 x 641
// picture with alpha and six strip buttons) as a hover moves, against the
// floor of the same run: UpdateLayeredWindow of a DIB prepared in advance.
// Prints both times and their ratio, and what a whole new frame costs.
#include "tests/bench/BenchImages.h"
#include "ui/AppManager.h"
#include "ui/ImagePaint.h"
#include "ui/LayeredSurface.h"
#include "ui/ScopedGdi.h"
#include "ui/WindowCtrl.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 1450;
constexpr int kHeight = 641;
constexpr int kRounds = 200;

struct ButtonSpec {
    int id;
    RECT rect;
    int strip;
};

constexpr ButtonSpec kButtons[] = {
    {20, {1089, 62, 1117, 90}, BENCH_STRIP_56},    {1002, {1118, 62, 1149, 93}, BENCH_STRIP_62},
    {1003, {398, 95, 551, 144}, BENCH_STRIP_306},  {1006, {554, 95, 707, 144}, BENCH_STRIP_306},
    {1004, {842, 95, 995, 144}, BENCH_STRIP_306},  {1005, {995, 95, 1148, 144}, BENCH_STRIP_306},
};

// A window that hands every message to its painter, as skinned windows do.
class BenchWindow : public CWindowCtrl {
public:
    CImagePaint painter;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NCCREATE) painter.SetWindow(Hwnd());
        return painter.HandleMessage(msg, wParam, lParam) ? 1 : 0;
    }
};

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Median time of one call of work in milliseconds; prepare runs untimed
// before each call.
template <typename Prepare, typename Work>
double Measure(Prepare prepare, Work work) {
    for (int i = 0; i < 10; ++i) {
        prepare(i);
        work();
    }
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        prepare(i);
        const double start = Now();
        work();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int wmain() {
    GdiplusSession gdiplus;
    CAppManager manager;
    if (!gdiplus.Started() || !RegisterManager(&manager)) {
        std::fprintf(stderr, "cannot start GDI+ or register the manager\n");
        return 1;
    }
    int result = 0;
    {
        // At the screen's scale, as the client's launcher is.
        const UINT dpi = SystemDpi();
        const int width = ScaleBy(kWidth, dpi);
        const int height = ScaleBy(kHeight, dpi);
        BenchWindow window;
        window.SetDpi(dpi);
        HWND hwnd = window.Create(WS_EX_TOOLWINDOW, L"PaintBench", L"bench", WS_POPUP, 0, 0, width,
                                  height, nullptr);
        if (!hwnd) {
            std::fprintf(stderr, "cannot create the window\n");
            UnregisterManager(GetCurrentThreadId());
            return 1;
        }
        CImagePaint& painter = window.painter;
        painter.SetDpi(dpi);
        for (const ButtonSpec& spec : kButtons) {
            painter.AddButton(spec.id, spec.rect)->SetImageStrip(spec.strip);
        }
        painter.AddStatic(RECT{0, 0, kWidth, kHeight}, BENCH_BACK, 1007, false);
        painter.EnableLayered();
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);

        // The hover moves between two buttons, so that frames differ; the
        // painter redraws what the move changed.
        const double redraw = Measure(
            [](int) {},
            [&, i = 0]() mutable {
                const ButtonSpec& spec = kButtons[2 + i++ % 2];
                SendMessageW(hwnd, WM_MOUSEMOVE, 0,
                             MAKELPARAM(ScaleBy(spec.rect.left + 5, dpi), ScaleBy(spec.rect.top + 5, dpi)));
            });
        const double whole = Measure([&](int) { painter.Invalidate(); }, [&] { painter.Redraw(); });

        // The floor: the same frame, prepared once, handed over each time.
        LayeredSurface prepared;
        prepared.Prepare(width, height);
        const LayeredSurface& drawn = painter.Surface();
        GdiFlush();
        std::memcpy(const_cast<DWORD*>(prepared.Pixels()), drawn.Pixels(),
                    static_cast<size_t>(width) * height * 4);
        const UpdateLayeredWindowProc update = FindUpdateLayeredWindow();
        const double floor = Measure([](int) {}, [&] { prepared.Present(hwnd, update, 255); });

        std::printf("Layered redraw of a %d x %d window (%u DPI) with 6 strip buttons (median of %d)\n",
                    width, height, dpi, kRounds);
        std::printf("  Redraw:                         %8.3f ms\n", redraw);
        std::printf("  floor (UpdateLayeredWindow):    %8.3f ms\n", floor);
        std::printf("  ratio:                          %8.2f x\n", floor > 0 ? redraw / floor : 0.0);
        std::printf("  a whole new frame:              %8.3f ms\n", whole);
        DestroyWindow(hwnd);
        result = 0;
    }
    UnregisterManager(GetCurrentThreadId());
    return result;
}
