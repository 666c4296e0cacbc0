// The shipped uninstaller, build/i686/bin/uninstall.exe, read as a file
// from the x86_64 tree's tests: a PE32 i386 GUI program without
// mingw runtime DLLs, whose manifest asks for the invoker's rights without
// UI access and lists no supported systems, with icon group 128 and every
// picture of the wizard.
#include "res/UninstallResources.h"
#include "tests/support/ProgramImage.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

namespace {

std::wstring ShippedUninstaller() { return TreeBin(L"i686") + L"\\uninstall.exe"; }

struct ModuleCloser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ScopedModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

std::string ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC info = FindResourceW(module, name, type);
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return std::string();
    return std::string(static_cast<const char*>(data), SizeofResource(module, info));
}

TEST(UninstallImage, IsA32BitGuiProgramWithoutMingwRuntimeDlls) {
    const ProgramImage image = ReadProgramImage(ReadFileBytes(ShippedUninstaller()));
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, image.machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, image.magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, image.subsystem);
    for (const char* dll : {"user32.dll;", "gdiplus.dll;", "wininet.dll;", "shell32.dll;", "advapi32.dll;"}) {
        EXPECT_NE(std::string::npos, image.imports.find(dll)) << image.imports;
    }
    for (const char* runtime : {"libstdc++", "libgcc", "libwinpthread"}) {
        EXPECT_EQ(std::string::npos, image.imports.find(runtime)) << image.imports;
    }
}

TEST(UninstallImage, ManifestIconAndArtAreInTheFile) {
    ScopedModule module(LoadLibraryExW(ShippedUninstaller().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module);
    const std::string manifest =
        ResourceBytes(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
    EXPECT_NE(std::string::npos, manifest.find("uiAccess=\"false\"")) << manifest;
    EXPECT_EQ(std::string::npos, manifest.find("supportedOS")) << manifest;
    EXPECT_EQ(std::string::npos, manifest.find("compatibility")) << manifest;

    EXPECT_FALSE(ResourceBytes(module.get(), MAKEINTRESOURCEW(IDI_UNINSTALL), RT_GROUP_ICON).empty());
    for (int id : {IDB_WIZARD_CLOSE, IDB_WIZARD_CLOSE_HOVER, IDB_WIZARD_CLOSE_PRESSED, IDB_WIZARD_CANCEL,
                   IDB_WIZARD_CANCEL_HOVER, IDB_WIZARD_CANCEL_PRESSED, IDB_WIZARD_CONTINUE,
                   IDB_WIZARD_CONTINUE_HOVER, IDB_WIZARD_CONTINUE_PRESSED, IDB_WIZARD_CHECKBOX,
                   IDB_WIZARD_CHECKBOX_HOVER, IDB_WIZARD_CHECKBOX_PRESSED, IDB_WIZARD_CHECKBOX_CHECKED,
                   IDB_WIZARD_MASCOT, IDB_WIZARD_BUBBLE, IDB_PROGRESS_TRACK, IDB_PROGRESS_FILL}) {
        const std::string png = ResourceBytes(module.get(), MAKEINTRESOURCEW(id), L"PNG");
        EXPECT_EQ(0u, png.find("\x89PNG")) << "PNG " << id;
    }
}

}  // namespace
