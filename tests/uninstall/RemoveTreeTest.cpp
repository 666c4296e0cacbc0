// RemoveTree and TreeHoldsLink: only plain folders are descended into, and links
// are never followed.
#include "uninstall/RemoveTree.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RemoveTree, RemovesFilesFoldersAndTheFolderItself) {
    ScratchDir dir;
    const std::wstring root = dir.File(L"Orvane Stormvale");
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"\\data").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"\\data\\deeper").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(root + L"\\Config.ini", "x"));
    ASSERT_TRUE(WriteFileBytes(root + L"\\data\\deeper\\save.dat", "y"));
    ASSERT_TRUE(WriteFileBytes(root + L"\\noext", "z"));

    RemoveTree(root.c_str());
    EXPECT_FALSE(FileExists(root));
    EXPECT_TRUE(FileExists(dir.Path()));
}

TEST(RemoveTree, HiddenOrReadOnlySubfoldersAreTreatedAsFilesAndStay) {
    ScratchDir dir;
    const std::wstring root = dir.File(L"inst");
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    for (const wchar_t* name : {L"\\hidden", L"\\readonly"}) {
        ASSERT_TRUE(CreateDirectoryW((root + name).c_str(), nullptr));
        ASSERT_TRUE(WriteFileBytes(root + name + L"\\inside.txt", "keep"));
    }
    ASSERT_TRUE(SetFileAttributesW((root + L"\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((root + L"\\readonly").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteFileBytes(root + L"\\plain.txt", "gone"));

    // Wine keeps no read-only attribute on folders: there that folder is a
    // plain one and goes.
    const bool readOnlyKept = GetFileAttributesW((root + L"\\readonly").c_str()) & FILE_ATTRIBUTE_READONLY;
    RemoveTree(root.c_str());
    EXPECT_FALSE(FileExists(root + L"\\plain.txt"));
    EXPECT_TRUE(FileExists(root + L"\\hidden\\inside.txt"));
    EXPECT_EQ(readOnlyKept, FileExists(root + L"\\readonly\\inside.txt"));
    EXPECT_TRUE(FileExists(root));
    SetFileAttributesW((root + L"\\readonly").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(RemoveTree, NoLinkIsFollowedInsideOrAsTheRoot) {
    ScratchDir decoy;
    ASSERT_TRUE(WriteFileBytes(decoy.File(L"precious.txt"), "user data"));
    ScratchDir dir;
    const std::wstring root = dir.File(L"inst");
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    ASSERT_TRUE(MakeSymbolicLink(root + L"\\link", decoy.Path()));
    EXPECT_TRUE(TreeHoldsLink(root.c_str()));

    RemoveTree(root.c_str());
    EXPECT_EQ("user data", ReadFileBytes(decoy.File(L"precious.txt")));
    // Nor as the root (Wine's RemoveDirectoryW on a link takes an empty target).
    const std::wstring empty = dir.File(L"empty"), link = dir.File(L"link");
    ASSERT_TRUE(CreateDirectoryW(empty.c_str(), nullptr) && MakeSymbolicLink(link, empty));
    RemoveTree(link.c_str());
    EXPECT_TRUE(FileExists(empty));
    RemoveSymbolicLink(link);
}

TEST(RemoveTree, TreeHoldsLinkLooksIntoPlainSubfoldersOnly) {
    ScratchDir decoy;
    ScratchDir dir;
    const std::wstring root = dir.File(L"inst");
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"\\a").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"\\a\\b").c_str(), nullptr));
    EXPECT_FALSE(TreeHoldsLink(root.c_str()));
    ASSERT_TRUE(MakeSymbolicLink(root + L"\\a\\b\\link", decoy.Path()));
    EXPECT_TRUE(TreeHoldsLink(root.c_str()));
    EXPECT_TRUE(TreeHoldsLink((root + L"\\a\\b\\link").c_str()));
}

TEST(RemoveTree, AMissingFolderIsNothing) {
    ScratchDir dir;
    RemoveTree(dir.File(L"absent").c_str());
    RemoveTree(L"");
    RemoveTree(nullptr);
    EXPECT_TRUE(FileExists(dir.Path()));
}

}  // namespace
