// The browser control's settings for the client's program. The control
// shows every page in an old document mode, without canvas, modern CSS or
// script, and draws it without the GPU, unless the program that hosts it
// opts in: a DWORD value named after the executable's file name under the
// user's FeatureControl key. The client writes its values at every start,
// before its first browser; the uninstaller deletes exactly those values.
#pragma once

// Writes the client's values for exeName (a file name such as
// "vstorm.exe"). Needs no administrator rights; a value that cannot be
// written is left as it was.
void WriteBrowserFeatures(const wchar_t* exeName);

// Deletes the values WriteBrowserFeatures writes for exeName, and nothing
// else.
void DeleteBrowserFeatures(const wchar_t* exeName);

// Turns on, for this process only, the page engine's protections that the
// system's own browser turns on for itself (zone elevation, MIME checks,
// window restrictions, ActiveX install restrictions and the like;
// local-machine lockdown is one of WriteBrowserFeatures' values). Nothing is
// written to the registry. Call before the first browser is made. True when
// every one was taken.
bool EnablePageEngineProtections();
