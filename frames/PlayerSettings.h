// The player's own choices, kept in Config.ini's section Player: sound off
// or on, the page's zoom, and the game window's last normal rectangle with
// whether it was maximised.
//
// Each value is read strictly. A missing one means its default; one that
// cannot be read or lies out of range means its default too, and is written
// back as that default at once, so the file heals instead of being
// misread at every start. Reads and writes take the books' turn
// (CConfigLock): a profile write rewrites the whole file, and another
// client of the folder may be keeping its books at the same moment.
#pragma once

#include "browser/MyHtml.h"

#include <windows.h>

struct PlayerSettings {
    bool muted = false;
    int zoom = kDefaultZoom;
    // The normal rectangle of the game window (the platform's placement
    // coordinates); empty when none is kept.
    RECT window{0, 0, 0, 0};
    bool maximized = true;
};

// Window text of a kept rectangle: "left,top,right,bottom".
constexpr size_t kWindowTextUnits = 64;
// Coordinates and sizes beyond these belong to no screen there is.
constexpr int kMaxWindowCoordinate = 65536;
constexpr int kMaxWindowExtent = 32767;

PlayerSettings LoadPlayerSettings(const wchar_t* programDir);
// Writes the sound and the zoom, and the placement when withPlacement
// (only a run that reached the game has one).
void SavePlayerSettings(const wchar_t* programDir, const PlayerSettings& settings, bool withPlacement);
