// The client's own sound: the process's default audio session on the
// default render device, which every sound the page plays joins, however
// the page plays it. Muting it silences the game and nothing else on the
// machine. Core Audio needs COM on the thread that sets the mute.
#pragma once

#include "ui/ScopedCom.h"

#include <audiopolicy.h>

#include <mutex>

class CAudioSession {
public:
    // Asks for the session anew (the default device may have changed) and
    // sets its mute. False when there is no audio device or it refused.
    bool SetMuted(bool muted);
    // The mute of the session last set, as Core Audio has it now: 1 muted,
    // 0 not, -1 when none was set or it cannot be read. From any thread.
    int Muted() const;

private:
    mutable std::mutex lock_;
    ComPtr<ISimpleAudioVolume> volume_;
};
