// The names by which the client's windows are known: the window class of
// its main frame and of its close question, and the main frame's title. The
// uninstaller finds a running client by the class and the title together,
// so the question (which has no title) is never taken for the client.
#pragma once

#include "app/Version.h"

// The product identifier, registered as a window class.
inline constexpr wchar_t kClientWindowClass[] = L"orvanestormvale";
inline constexpr wchar_t kClientWindowTitle[] = VSTORM_PRODUCT_NAME;
