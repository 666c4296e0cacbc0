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

// Takes the screen rectangle and writes it; path holds the new file's full
// path when the answer is Saved, and is empty otherwise.
Result Take(const RECT& screenRect, wchar_t (&path)[MAX_PATH]);

// Opens the folder of path in the shell with the file selected.
void ShowInFolder(const wchar_t* path);

}  // namespace Screenshot
