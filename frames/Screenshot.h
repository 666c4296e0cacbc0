// Screenshots of the game: the screen's pixels under the page, at their
// physical size, as a PNG in the player's Pictures folder, in a folder named
// after the product. Every shot gets a file of its own, named after the
// local date and time; a name already taken gets a number, and no file is
// ever opened that was there before.
#pragma once

#include <windows.h>

namespace Screenshot {

enum class Result {
    Saved,
    NoFolder,     // no Pictures folder, or a path too long for it
    NotWritten,   // the folder or the file could not be made or written
    DiskFull,
    NameTaken,    // every name of this second is taken
    NoPicture,    // nothing to take, or the screen could not be read
};

constexpr size_t kNameUnits = 64;
// The most files one second may have before a shot gives up.
constexpr int kMaxAttempts = 100;

// Takes the screen rectangle and writes it; path holds the new file's full
// path when the answer is Saved, and is empty otherwise.
Result Take(const RECT& screenRect, wchar_t (&path)[MAX_PATH]);

// "2026-12-10 10-38-14.png" for the first attempt, then
// "2026-12-10 10-38-14 (2).png" and so on.
void FileName(const SYSTEMTIME& time, int attempt, wchar_t (&name)[kNameUnits]);

// Opens the folder of path in the shell with the file selected.
void ShowInFolder(const wchar_t* path);

}  // namespace Screenshot
