// The test build of the client, vstorm_fake.exe: the real client whose HTML
// thread makes fake browser controls, so that whole-program tests can drive
// pages. The pages come from a script beside the program, read at start:
//
//     page <url>              starts a page (every line below belongs to it)
//     title <text>
//     element <id> <text>     an element with this inner text
//     popup <url>             the page asks for a new window after a click
//     unasked-popup <url>     the same without a click
//     frame <url>             once complete, the page loads a frame
//     then <url>              once complete, the page navigates there (or, refused, to the next)
//     click <url>             a player's click in the page goes there
//     hang                    at the end, the page's script never yields
//     incomplete              the page never completes
//
// At exit the program writes what its fake controls saw beside itself:
// one "navigate <url>" (that went ahead), "opened <url>", "refresh" or
// "zoom <percent>" (optical zoom) line each.
//
// A hidden window of class kFakeAudioProbeClass answers
// kFakeAudioQueryMessage with the frame's CAudioSession::Muted, or with
// wParam 1 its view's zoom (-2: no frame).
#pragma once

#include <windows.h>

inline constexpr wchar_t kFakePagesFile[] = L"fake-pages.txt";
inline constexpr wchar_t kFakeLogFile[] = L"fake-log.txt";
inline constexpr wchar_t kFakeAudioProbeClass[] = L"vstorm_fake_audio";
inline constexpr UINT kFakeAudioQueryMessage = WM_APP + 1;
