// Binding of the controller libraries against real DLLs. This executable lies
// in a folder without the libraries; each case first loads the form of the
// library it needs by full path, which a later load by bare name then finds.
// CTest runs every case in a process of its own.
#include <gtest/gtest.h>

#include "tavro_binding.h"

#include <string>

namespace {

std::string WinePath(const char* unixPath, const char* file)
{
    std::string path = std::string("Z:") + unixPath + "/" + file;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

HMODULE Preload(const std::string& path)
{
    HMODULE module = LoadLibraryA(path.c_str());
    EXPECT_NE(module, nullptr) << path;
    return module;
}

HMODULE PreloadApi() { return Preload(WinePath(TAVRO_TEST_BIN, "tavroapi64.dll")); }
HMODULE PreloadDialogs() { return Preload(WinePath(TAVRO_TEST_BIN, "tavrodlg64.dll")); }

} // namespace

TEST(Binding, MissingApiLibraryFailsWithoutTouchingSlots)
{
    EXPECT_EQ(BindTavroApi(), TAVRO_BIND_FAILED);
    EXPECT_EQ(g_tavro.TavroAbort, nullptr);
    EXPECT_EQ(g_tavro.TavroOpen, nullptr);
}

TEST(Binding, MissingDialogsLibraryFailsAfterApiBinds)
{
    PreloadApi();
    EXPECT_EQ(BindTavroApi(), 0);
    EXPECT_EQ(BindTavroDialogs(), TAVRO_BIND_FAILED);
    EXPECT_EQ(g_tavro.TavroDLG_AboutBox, nullptr);
}

TEST(Binding, CompleteLibrariesFillEverySlot)
{
    HMODULE api = PreloadApi();
    HMODULE dialogs = PreloadDialogs();
    ASSERT_EQ(BindTavroApi(), 0);
    ASSERT_EQ(BindTavroDialogs(), 0);

    const void* const* slot = reinterpret_cast<const void* const*>(&g_tavro);
    const size_t count = sizeof(TavroBindingTable) / sizeof(void*);
    for (size_t i = 0; i < count; ++i)
        EXPECT_NE(slot[i], nullptr) << "slot " << i;

    // The names looked up twice hold the address of their single export.
    EXPECT_EQ(reinterpret_cast<void*>(g_tavro.TavroGetAuxEncIdxEx),
              reinterpret_cast<void*>(GetProcAddress(api, "TavroGetAuxEncIdxEx")));
    EXPECT_EQ(reinterpret_cast<void*>(g_tavro.TavroTranslateErrorEx),
              reinterpret_cast<void*>(GetProcAddress(api, "TavroTranslateErrorEx")));
    EXPECT_EQ(reinterpret_cast<void*>(g_tavro.TavroDLG_ModuleDescEx),
              reinterpret_cast<void*>(GetProcAddress(dialogs, "TavroDLG_ModuleDescEx")));
}

TEST(Binding, FullListRefusesLibraryLackingDigitalIOEx)
{
    Preload(WinePath(TAVRO_TEST_VARIANTS, "tavroapi64_no_dio_ex/tavroapi64.dll"));
    EXPECT_EQ(BindTavroApiList(TavroApiList::Full), TAVRO_BIND_FAILED);
    // Everything before the missing last name was bound.
    EXPECT_NE(g_tavro.TavroSetVelocityOverride, nullptr);
    EXPECT_EQ(g_tavro.TavroGetDigitalIOEx, nullptr);
}

TEST(Binding, ShortListAcceptsLibraryLackingDigitalIOEx)
{
    Preload(WinePath(TAVRO_TEST_VARIANTS, "tavroapi64_no_dio_ex/tavroapi64.dll"));
    EXPECT_EQ(BindTavroApiList(TavroApiList::Short), 0);
    EXPECT_NE(g_tavro.qorputramex, nullptr);
    EXPECT_EQ(g_tavro.TavroGetModuleOutputMode, nullptr);
}

TEST(Binding, EarlyMissingNameStopsBindingThere)
{
    Preload(WinePath(TAVRO_TEST_VARIANTS, "tavroapi64_no_arc_center/tavroapi64.dll"));
    EXPECT_EQ(BindTavroApiList(TavroApiList::Short), TAVRO_BIND_FAILED);
    EXPECT_NE(g_tavro.TavroAbort, nullptr);     // lookup 1
    EXPECT_EQ(g_tavro.TavroArcCenter, nullptr); // lookup 2, missing
    EXPECT_EQ(g_tavro.TavroBlockBegin, nullptr); // never reached
}
