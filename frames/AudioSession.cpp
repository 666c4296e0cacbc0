#include "frames/AudioSession.h"

#include <windows.h>
#include <mmdeviceapi.h>

bool CAudioSession::SetMuted(bool muted) {
    ComPtr<IMMDeviceEnumerator> devices;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IMMDeviceEnumerator), devices.ReceiveVoid()))) {
        return false;
    }
    ComPtr<IMMDevice> device;
    if (FAILED(devices->GetDefaultAudioEndpoint(eRender, eConsole, device.Receive()))) return false;
    ComPtr<IAudioSessionManager> sessions;
    if (FAILED(device->Activate(__uuidof(IAudioSessionManager), CLSCTX_INPROC_SERVER, nullptr,
                                sessions.ReceiveVoid()))) {
        return false;
    }
    // The null session id with no cross-process flag: this process's default
    // session, the one its streams join unless they name another.
    ComPtr<ISimpleAudioVolume> volume;
    if (FAILED(sessions->GetSimpleAudioVolume(nullptr, FALSE, volume.Receive())) ||
        FAILED(volume->SetMute(muted ? TRUE : FALSE, nullptr))) {
        return false;
    }
    std::lock_guard<std::mutex> hold(lock_);
    volume_ = volume;
    return true;
}

int CAudioSession::Muted() const {
    std::lock_guard<std::mutex> hold(lock_);
    BOOL muted = FALSE;
    if (!volume_ || FAILED(volume_->GetMute(&muted))) return -1;
    return muted ? 1 : 0;
}
