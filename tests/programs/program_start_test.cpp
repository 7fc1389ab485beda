// Each program, started for real, refuses to run without a controller library
// and names the library and the version it needs.
#include <gtest/gtest.h>

#include "test_support.h"

#include <string>
#include <vector>

namespace {

struct VersionBox {
    bool shown = false;
    std::string caption;
    std::string text;
    bool ended = false;
};

struct FindBox {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindProcessBox(HWND window, LPARAM param)
{
    auto* find = reinterpret_cast<FindBox*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (owner == find->processId && IsWindowVisible(window) && strcmp(cls, "#32770") == 0) {
        find->box = window;
        return FALSE;
    }
    return TRUE;
}

// Copies `program` with the given companions into a folder of its own, starts
// it there, answers its first box with OK and waits for it to end. A library
// left out of the folder is missing for the program.
VersionBox StartInFolderWith(const char* program, const std::vector<const char*>& companions)
{
    VersionBox result;
    testing_support::TempFolder folder;
    std::vector<const char*> files = companions;
    files.push_back(program);
    for (const char* file : files)
        CopyFileA(testing_support::ExeSiblingPath(file).c_str(), folder.File(file).c_str(), FALSE);
    std::string exe = folder.File(program);
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.Path().c_str(), &startup, &process)) {
        ADD_FAILURE() << "cannot start " << exe;
        return result;
    }
    const DWORD start = GetTickCount();
    FindBox find = {process.dwProcessId, nullptr};
    while (!find.box && GetTickCount() - start < 20000 &&
           WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT)
        EnumWindows(FindProcessBox, reinterpret_cast<LPARAM>(&find));
    if (find.box) {
        result.shown = true;
        result.caption = testing_support::WindowText(find.box);
        result.text = testing_support::ItemText(find.box, 0xFFFF);
        PostMessageA(find.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    result.ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
    if (!result.ended)
        TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

void ExpectVersionBox(const char* program, const std::vector<const char*>& companions,
                      const char* caption, const char* text)
{
    VersionBox box = StartInFolderWith(program, companions);
    EXPECT_TRUE(box.shown) << program << " with " << companions.size() << " companions";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    EXPECT_TRUE(box.ended) << program << " kept running";
}

TEST(ProgramStart, AmbrelNeedsBothLibraries)
{
    ExpectVersionBox("ambrel.exe", {}, "Ambrel",
                     "This application requires version 300\nor later of the Tavro API!");
    ExpectVersionBox("ambrel.exe", {"tavroapi64.dll"}, "Ambrel",
                     "This application requires version 300\nor later of the Tavro Dialogs!");
}

TEST(ProgramStart, QuoriskNeedsBothLibraries)
{
    ExpectVersionBox("quorisk.exe", {"vistrel.dll"}, "Servo Tuning",
                     "This application requires version 350\nor later of the Tavro API!");
    ExpectVersionBox("quorisk.exe", {"vistrel.dll", "tavroapi64.dll"}, "Servo Tuning",
                     "This application requires version 350\nor later of the Tavro Dialogs!");
}

TEST(ProgramStart, SorvikNeedsBothLibraries)
{
    ExpectVersionBox("sorvik.exe", {}, "DigitalTestPanel",
                     "This application requires version 3.4.0 or\nlater of the Tavro API!");
    ExpectVersionBox("sorvik.exe", {"tavroapi64.dll"}, "DigitalTestPanel",
                     "This application requires version 3.4.0 or\nlater of the Tavro Dialogs!");
}

TEST(ProgramStart, PellovinNeedsBothLibraries)
{
    ExpectVersionBox("pellovin.exe", {}, "AnalogTestPanel",
                     "This application requires version 3.4.0 or\nlater of the Tavro API!");
    ExpectVersionBox("pellovin.exe", {"tavroapi64.dll"}, "AnalogTestPanel",
                     "This application requires version 3.4.0 or\nlater of the Tavro Dialogs!");
}

} // namespace
