// The window class of the client's main frame and of its close question:
// the product identifier. The uninstaller finds a running client by this
// class together with the frame's title (the product name), so the
// question, which has no title, is never taken for the client.
#pragma once

inline constexpr wchar_t kClientWindowClass[] = L"orvanestormvale";
