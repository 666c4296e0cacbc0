#include "ui/PngPrefetch.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

namespace {

enum class State { Queued, Decoding, Ready };

struct Entry {
    int id;
    State state;
    OwnedImage image;
};

// The images of the active object, shared by its worker and the threads
// that take them; entries are found by id, never kept across a wait.
std::mutex g_lock;
std::condition_variable g_ready;
std::vector<Entry> g_entries;
bool g_active = false;
bool g_stopping = false;
UINT g_dpi = kBaseDpi;

// 0 means the base DPI to the loader, so it does here too.
UINT ArtDpi(UINT dpi) { return dpi == 0 ? kBaseDpi : dpi; }

std::vector<Entry>::iterator Find(int id) {
    return std::find_if(g_entries.begin(), g_entries.end(), [id](const Entry& e) { return e.id == id; });
}

void DecodeQueued() {
    for (;;) {
        int id = 0;
        UINT dpi = kBaseDpi;
        {
            std::lock_guard<std::mutex> hold(g_lock);
            auto next = std::find_if(g_entries.begin(), g_entries.end(),
                                     [](const Entry& e) { return e.state == State::Queued; });
            if (g_stopping || next == g_entries.end()) return;
            next->state = State::Decoding;
            id = next->id;
            dpi = g_dpi;
        }
        OwnedImage image = DecodePngResource(id, dpi);
        {
            std::lock_guard<std::mutex> hold(g_lock);
            auto entry = Find(id);
            entry->image = std::move(image);
            entry->state = State::Ready;
        }
        g_ready.notify_all();
    }
}

}  // namespace

PngPrefetch::PngPrefetch(const std::vector<int>& ids, UINT dpi) {
    {
        std::lock_guard<std::mutex> hold(g_lock);
        if (g_active || ids.empty()) return;
        g_active = active_ = true;
        g_stopping = false;
        g_dpi = ArtDpi(dpi);
        for (int id : ids) {
            if (Find(id) == g_entries.end()) g_entries.push_back(Entry{id, State::Queued, OwnedImage()});
        }
    }
    // Without a worker the images are decoded as they are asked for.
    try {
        worker_ = std::thread(DecodeQueued);
    } catch (const std::system_error&) {
    }
}

PngPrefetch::~PngPrefetch() {
    if (!active_) return;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_stopping = true;
    }
    if (worker_.joinable()) worker_.join();
    // Dropped after the lock: a waiting taker wakes to find its image gone.
    std::vector<Entry> untaken;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        untaken.swap(g_entries);
        g_active = false;
    }
    g_ready.notify_all();
}

bool PngPrefetch::Take(int id, UINT dpi, OwnedImage& image) {
    const UINT wanted = ArtDpi(dpi);
    std::unique_lock<std::mutex> hold(g_lock);
    auto entry = Find(id);
    if (entry == g_entries.end() || wanted != g_dpi) return false;
    if (entry->state == State::Queued) {
        g_entries.erase(entry);
        hold.unlock();
        image = DecodePngResource(id, wanted);
        return true;
    }
    // Another taker, or the object's end, may remove the entry meanwhile.
    g_ready.wait(hold, [id] {
        auto waited = Find(id);
        return waited == g_entries.end() || waited->state == State::Ready;
    });
    entry = Find(id);
    if (entry == g_entries.end()) return false;
    image = std::move(entry->image);
    g_entries.erase(entry);
    return true;
}
