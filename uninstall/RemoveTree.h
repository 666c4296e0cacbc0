// Removal of a folder's contents as the uninstall worker does it.
#pragma once

// Removes every file and subfolder below path (no trailing backslash) and
// then path itself, as far as the system lets it. An entry whose attribute
// word is exactly FILE_ATTRIBUTE_DIRECTORY is descended into; a link
// (junction or symbolic link) loses the link only, where the system can
// remove a link by itself (Windows; not Wine 8, where it stays); everything
// else (files, and folders that carry any further attribute such as
// read-only or hidden) gets DeleteFileW, which leaves such folders
// standing. So no link is ever followed, path itself included: a path that
// is a link loses the link and nothing behind it.
void RemoveTree(const wchar_t* path);

// True when the folder or any folder below it (as RemoveTree would descend)
// holds a link (reparse point). The self-removal script's "RD /S" is left
// out then: not every command interpreter keeps out of links.
bool TreeHoldsLink(const wchar_t* path);
