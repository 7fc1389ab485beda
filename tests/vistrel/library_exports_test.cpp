// The library's exports: ordinals and class registration.
#include <gtest/gtest.h>

#include "plot_fixture.h"

namespace {

// Ordinals this executable imports from the library, and whether any entry is by name.
std::vector<WORD> ImportedOrdinals(bool* anyByName)
{
    BYTE* image = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(image + reinterpret_cast<IMAGE_DOS_HEADER*>(image)->e_lfanew);
    DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    std::vector<WORD> ordinals;
    *anyByName = false;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(image + imports); entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<char*>(image + entry->Name), "vistrel.dll") != 0)
            continue;
        auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA64*>(image + entry->OriginalFirstThunk);
        for (; thunk->u1.Ordinal; ++thunk) {
            if (IMAGE_SNAP_BY_ORDINAL64(thunk->u1.Ordinal))
                ordinals.push_back(static_cast<WORD>(IMAGE_ORDINAL64(thunk->u1.Ordinal)));
            else
                *anyByName = true;
        }
    }
    return ordinals;
}

TEST(LibraryExports, FourFunctionsByNameAndOrdinalImportedByOrdinalOnly)
{
    HMODULE library = GetModuleHandleA("vistrel.dll");
    ASSERT_NE(library, nullptr);
    const char* names[4] = {"LumoConfigure", "LumoInitialize", "LumoRestoreSettings", "LumoSaveSettings"};
    for (int ordinal = 1; ordinal <= 4; ++ordinal) {
        FARPROC byOrdinal = GetProcAddress(library, MAKEINTRESOURCEA(ordinal));
        ASSERT_NE(byOrdinal, nullptr);
        EXPECT_EQ(byOrdinal, GetProcAddress(library, names[ordinal - 1]));
    }
    bool anyByName = true;
    std::vector<WORD> ordinals = ImportedOrdinals(&anyByName);
    EXPECT_EQ(ordinals.size(), 4u);
    for (WORD ordinal : ordinals)
        EXPECT_TRUE(ordinal >= 1 && ordinal <= 4);
    EXPECT_FALSE(anyByName);
}

TEST(LibraryExports, SecondInitializeFailsAndTheFirstClassStaysUsable)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA(PLOT_WINDOW_CLASS, instance);
    EXPECT_NE(LumoInitialize(instance), 0);
    EXPECT_EQ(LumoInitialize(instance), 0);
    HWND plot = MakePlot();
    EXPECT_EQ(SendMessageA(plot, PLM_GETXDIVISIONS, 0, 0), 10);
    DestroyWindow(plot);
}

} // namespace
