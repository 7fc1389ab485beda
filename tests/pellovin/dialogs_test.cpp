// The page's dialogs driven as a user would: module type, reference voltage,
// channel set-up and the calibration wizard.
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "calibration_wizard.h"
#include "panel_fixture.h"
#include "test_support.h"

using testing_support::DialogAnswerer;
using testing_support::IsItemEnabled;
using testing_support::ItemText;
using testing_support::PumpFor;
using testing_support::PumpUntil;

namespace {

class AnalogPageDialogTest : public AnalogPanelTest {
protected:
    void SetUp() override
    {
        AnalogPanelTest::SetUp();
        info = ModularController();
        ASSERT_NE(StartOn(info.id, "-p 2"), nullptr);
    }
    void Click(HWND page, int id) { SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    // Replaces an edit's text the way typing does, marking it changed.
    void Type(HWND dialog, int id, const char* text)
    {
        SetDlgItemTextA(dialog, id, text);
        SendDlgItemMessageA(dialog, id, EM_SETMODIFY, TRUE, 0);
    }
    void ChooseModuleType(int type)
    {
        HWND list = GetDlgItem(Page(2), 2303);
        SendMessageA(list, CB_SETCURSEL, type, 0);
        SendMessageA(Page(2), WM_COMMAND, MAKEWPARAM(2303, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    // Presses a wizard button and lets the sheet handle what it posted.
    static void Press(HWND sheet, int button)
    {
        SendMessageA(sheet, PSM_PRESSBUTTON, button, 0);
        PumpFor(60);
    }
    long ModuleOutput() const { return TavroSim_GetAnalogOutput(info.id, channel->ChannelNumber()); }

    TavroSimControllerInfo info = {};
    AnalogChannel* channel = nullptr;
};

TEST_F(AnalogPageDialogTest, ChoosingAModuleTypeRebuildsThePages)
{
    // One module output written by the user; the rest keep their power-on level.
    AnalogChannel* written = Group(2)->Channels()[4];
    written->Write(3000, 1233);
    std::vector<long> levels;
    for (int number = 1; number <= info.analogOutputs; ++number)
        levels.push_back(TavroSim_GetAnalogOutput(info.id, number));
    const int writtenNumber = written->ChannelNumber();
    HWND before = Page(2);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK);
        ChooseModuleType(0);
        ASSERT_EQ(answerer.Count(), 1u);
        EXPECT_EQ(answerer.Seen()[0].caption, "Unknown Module Type");
        EXPECT_EQ(answerer.Seen()[0].text, "Please select a module type.");
    }
    PumpFor(100);
    EXPECT_EQ(Page(2), before);
    EXPECT_EQ(Group(2)->ModuleType(), 0);

    ChooseModuleType(3);
    ASSERT_TRUE(PumpUntil([&] { return Group(2)->ModuleType() == 3 && Page(2) != before; }));
    PumpFor(100);
    EXPECT_EQ(CurrentTab(), 2);
    EXPECT_TRUE(IsWindowVisible(Page(2)) && IsWindowEnabled(Page(2)));
    // Outputs only: no reference box, no input blocks, outputs in the first row.
    EXPECT_EQ(GetDlgItem(Page(2), 2300), nullptr);
    EXPECT_EQ(GetDlgItem(Page(2), 2000), nullptr);
    HWND firstOutput = GetDlgItem(Page(2), 2004);
    ASSERT_NE(firstOutput, nullptr);
    RECT box;
    GetWindowRect(firstOutput, &box);
    MapWindowPoints(nullptr, Page(2), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, 4);
    EXPECT_EQ(box.top, 66);
    EXPECT_EQ(SendDlgItemMessageA(Page(2), 2303, CB_GETCURSEL, 0, 0), 3);
    // The rebuild drives only the written output, to its stored level.
    EXPECT_EQ(levels.at(writtenNumber - 1), 3000);
    for (int number = 1; number <= info.analogOutputs; ++number)
        EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, number), levels[number - 1]) << number;

    before = Page(2);
    ChooseModuleType(2);
    ASSERT_TRUE(PumpUntil([&] { return Group(2)->ModuleType() == 2 && Page(2) != before; }));
    EXPECT_NE(GetDlgItem(Page(2), 2300), nullptr);
    EXPECT_NE(GetDlgItem(Page(2), 2003), nullptr);
    EXPECT_EQ(GetDlgItem(Page(2), 2004), nullptr);
    Close();
    EXPECT_EQ(IniValue("Analog Group " + std::to_string(info.id) + ":2", "ModuleType"), "2");
}

TEST_F(AnalogPageDialogTest, ReferenceVoltageIsLimitedAndRescalesTheInputs)
{
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) {
            EXPECT_EQ(ItemText(dialog, 1201), "(4.75 VDC to 5.00 VDC)");
            EXPECT_EQ(ItemText(dialog, 1200), "5.0000");
            Type(dialog, 1200, "5.2");
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(IsWindow(dialog));
            EXPECT_EQ(ItemText(dialog, 1200), "5.0000");
            Type(dialog, 1200, "4.7");
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            Type(dialog, 1200, "4.9");
        });
        answerer.Expect(IDOK);
        answerer.Expect(IDOK);
        Click(Page(2), 2302);
        ASSERT_EQ(answerer.Count(), 3u);
        EXPECT_EQ(answerer.Seen()[1].caption, "Value out of range");
        EXPECT_EQ(answerer.Seen()[1].text, "The reference value is out of range for this module type.");
    }
    EXPECT_DOUBLE_EQ(Group(2)->ReferenceVoltage(), 4.9);
    EXPECT_EQ(ItemText(Page(2), 2301), "4.9000");
    for (AnalogChannel* each : Group(2)->Channels()) {
        if (each->IsInput()) {
            EXPECT_DOUBLE_EQ(each->VoltsPerCountValue(), 4.9 / 4095.0);
        }
    }
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { Type(dialog, 1200, "5.199"); });
        Click(Page(2), 2302);
    }
    EXPECT_DOUBLE_EQ(Group(2)->ReferenceVoltage(), 5.199);

    // Standard inputs of a type 1 controller go down to 0.5 V.
    SelectTab(0);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) {
            EXPECT_EQ(ItemText(dialog, 1201), "(0.50 VDC to 5.00 VDC)");
            Type(dialog, 1200, "0.49");
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            Type(dialog, 1200, "0.5");
        });
        answerer.Expect(IDOK);
        Click(Page(0), 2302);
        EXPECT_EQ(answerer.Count(), 2u);
    }
    EXPECT_DOUBLE_EQ(Group(0)->ReferenceVoltage(), 0.5);
    // Inputs over -10 to +10 V keep the scaling of their range.
    AnalogChannel* input = Group(0)->Channels()[0];
    EXPECT_DOUBLE_EQ(input->VoltsPerCountValue(), VoltsPerCount(20.0, input->ResolutionBits()));

    // Inputs over 0 to 5 V take the reference as full scale, after a restart too.
    Close();
    TavroSimControllerInfo compact = {};
    ASSERT_TRUE(FindController([](const TavroSimControllerInfo& c) { return c.controllerType == 5; },
                               &compact));
    ASSERT_NE(StartOn(compact.id), nullptr);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { Type(dialog, 1200, "4.6"); });
        Click(Page(0), 2302);
    }
    const double scaled = VoltsPerCount(4.6, Group(0)->Channels()[0]->ResolutionBits());
    EXPECT_DOUBLE_EQ(Group(0)->Channels()[0]->VoltsPerCountValue(), scaled);
    Close();
    ASSERT_NE(StartOn(compact.id), nullptr);
    EXPECT_EQ(ItemText(Page(0), 2301), "4.6000");
    EXPECT_DOUBLE_EQ(Group(0)->Channels()[0]->VoltsPerCountValue(), scaled);

    // A stored reference the dialog would refuse (below 4.0, or no number)
    // is not taken, nor stored back.
    const std::string section = "Analog Group " + std::to_string(compact.id) + ":0";
    for (const char* stored : {"3.9", "abc"}) {
        Close();
        WritePrivateProfileStringA(section.c_str(), "RefVoltage", stored, IniPath().c_str());
        ASSERT_NE(StartOn(compact.id), nullptr);
        EXPECT_EQ(ItemText(Page(0), 2301), "5.0000") << stored;
        EXPECT_DOUBLE_EQ(Group(0)->Channels()[0]->VoltsPerCountValue(),
                         VoltsPerCount(5.0, Group(0)->Channels()[0]->ResolutionBits()));
    }
    Close();
    EXPECT_EQ(IniValue(section, "RefVoltage"), "5");

    // Inputs over 0 to 10 V keep their range's scaling, after a restart too.
    testing_support::TempFolder simulated;
    const std::string config = simulated.File("tavrosim.ini");
    testing_support::WriteTextFile(config, "[Controller0]\r\nType=5\r\nAnalogInputs=2\r\n"
                                           "AnalogOutputs=2\r\nAnalogInBits=10\r\n"
                                           "AnalogInMin=0\r\nAnalogInMax=10\r\nReportAnalog=1\r\n");
    ASSERT_EQ(TavroSim_Reload(config.c_str()), 0);
    ASSERT_NE(StartOn(0), nullptr);
    AnalogChannel* wide = Group(0)->Channels()[0];
    const double ranged = VoltsPerCount(10.0, wide->ResolutionBits());
    EXPECT_DOUBLE_EQ(wide->VoltsPerCountValue(), ranged);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { Type(dialog, 1200, "4.5"); });
        Click(Page(0), 2302);
    }
    EXPECT_DOUBLE_EQ(wide->VoltsPerCountValue(), ranged);
    Close();
    ASSERT_NE(StartOn(0), nullptr);
    EXPECT_EQ(ItemText(Page(0), 2301), "4.5000");
    ASSERT_EQ(TavroSim_SetAnalogInput(0, 1, 5.0), 0);
    std::string text;
    EXPECT_TRUE(PumpUntil([&] {
        text = ItemText(Page(0), 2100);
        return std::abs(std::strtod(text.c_str(), nullptr) - 5.0) <= 0.02;
    })) << text;
}

TEST_F(AnalogPageDialogTest, InputSetupTakesUserUnitsOnlyOnOk)
{
    SelectTab(0);
    AnalogChannel* input = Group(0)->Channels()[0];
    input->SetUserFactor(3.0);
    input->SetLabel("psi");
    {
        DialogAnswerer answerer;
        answerer.Expect(IDCANCEL, [&](HWND dialog) {
            EXPECT_EQ(testing_support::WindowText(dialog), "Display Mode - Analog Input 1");
            EXPECT_EQ(testing_support::ItemCheck(dialog, 1221), BST_CHECKED);
            EXPECT_FALSE(IsItemEnabled(dialog, 1211));
            EXPECT_FALSE(IsItemEnabled(dialog, 1219));
            EXPECT_EQ(ItemText(dialog, 1211), "3.000");
            SendMessageA(dialog, WM_COMMAND, 1223, 0);
            EXPECT_TRUE(IsItemEnabled(dialog, 1211));
            EXPECT_TRUE(IsItemEnabled(dialog, 1210));
            SendMessageA(dialog, WM_COMMAND, 1210, 0);
            EXPECT_EQ(ItemText(dialog, 1213), "V");
        });
        Click(Page(0), 2200);
    }
    EXPECT_EQ(input->DisplayMode(), 1221);
    EXPECT_DOUBLE_EQ(input->UserFactor(), 3.0);
    EXPECT_EQ(input->Label(), "psi");
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) {
            SendMessageA(dialog, WM_COMMAND, 1223, 0);
            SendMessageA(dialog, WM_COMMAND, 1210, 0);
            Type(dialog, 1212, "0.25");
        });
        Click(Page(0), 2200);
    }
    EXPECT_EQ(input->DisplayMode(), 1223);
    EXPECT_DOUBLE_EQ(input->UserFactor(), 1.0);
    EXPECT_DOUBLE_EQ(input->UserOffset(), 0.25);
    EXPECT_EQ(input->Label(), "V");
}

TEST_F(AnalogPageDialogTest, OutputSetupWritesTheTypedValue)
{
    SelectTab(1);
    AnalogChannel* output = Group(1)->Channels()[0];
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) {
            EXPECT_EQ(testing_support::WindowText(dialog), "Display Mode -  Analog Output 1");
            EXPECT_TRUE(IsItemEnabled(dialog, 1232));
            EXPECT_FALSE(IsItemEnabled(dialog, 1235));
            EXPECT_FALSE(IsItemEnabled(dialog, 1239));
            Type(dialog, 1232, "2.5");
        });
        Click(Page(1), 2200);
    }
    EXPECT_DOUBLE_EQ(output->OutputCounts(), 2047.5);
    EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, 1), 2047);
    {
        // A mode chosen in the dialog stays even when it is cancelled.
        DialogAnswerer answerer;
        answerer.Expect(IDCANCEL, [&](HWND dialog) {
            SendMessageA(dialog, WM_COMMAND, 1236, 0);
            EXPECT_TRUE(IsItemEnabled(dialog, 1239));
            EXPECT_FALSE(IsItemEnabled(dialog, 1232));
            EXPECT_EQ(ItemText(dialog, 1235), " 2048 ");
        });
        Click(Page(1), 2200);
    }
    EXPECT_EQ(output->DisplayMode(), 1236);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { Type(dialog, 1238, "12.5"); });
        Click(Page(1), 2200);
    }
    EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, 1), 4095);
    EXPECT_DOUBLE_EQ(output->OutputCounts(), 4095.0);
}

TEST_F(AnalogPageDialogTest, SetupOkKeepsWhatTheUserDidNotEdit)
{
    SelectTab(0);
    AnalogChannel* input = Group(0)->Channels()[0];
    input->SetDisplayMode(1223);
    input->SetUserFactor(0.0004);
    input->SetUserOffset(-1.23456);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { EXPECT_EQ(ItemText(dialog, 1211), "0.000"); });
        Click(Page(0), 2200);
    }
    EXPECT_DOUBLE_EQ(input->UserFactor(), 0.0004);
    EXPECT_DOUBLE_EQ(input->UserOffset(), -1.23456);

    SelectTab(1);
    AnalogChannel* output = Group(1)->Channels()[0];
    output->Write(3000, 1233);
    {
        DialogAnswerer answerer;
        answerer.Expect(IDOK);
        Click(Page(1), 2200);
    }
    EXPECT_DOUBLE_EQ(output->OutputCounts(), 3000.0);
    EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, 1), 3000);

    // Text that is not a number drives 0 V, as unreadable text does.
    output->SetDisplayMode(1236);
    for (const char* text : {"nan", "-nan", "abc"}) {
        output->Write(3000, 1233);
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND dialog) { Type(dialog, 1238, text); });
        Click(Page(1), 2200);
        EXPECT_EQ(TavroSim_GetAnalogOutput(info.id, 1), 2047) << text;
    }
}

TEST_F(AnalogPageDialogTest, CalibrationMarkersFollowTheChannelRow)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 250);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF red = RGB(210, 20, 20);
    auto draw = [&](int channelNumber, int skipped) {
        PatBlt(dc, 0, 0, 200, 250, WHITENESS);
        DrawCalMarkers(window, dc, channelNumber, skipped);
    };
    // Channel 5 is row 1: offset pot at 38, 39, pin at 48, 90, gain pot 2 at
    // 17, 74, lead from 56, 94; each highlight has a red top-left corner.
    draw(5, 4);
    EXPECT_EQ(GetPixel(dc, 38, 39), red);
    EXPECT_EQ(GetPixel(dc, 48, 90), red);
    EXPECT_EQ(GetPixel(dc, 17, 74), red);
    EXPECT_EQ(GetPixel(dc, 56, 95), red);
    EXPECT_EQ(GetPixel(dc, 38, 49), RGB(255, 255, 255));
    draw(5, 2);
    EXPECT_EQ(GetPixel(dc, 17, 74), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 38, 39), red);
    // Channel 8 is row 0.
    draw(8, 4);
    EXPECT_EQ(GetPixel(dc, 38, 49), red);
    EXPECT_EQ(GetPixel(dc, 38, 90), red);
    EXPECT_EQ(GetPixel(dc, 39, 73), red);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

class AnalogCalibrationWizardTest : public AnalogPageDialogTest {
protected:
    void SetUp() override
    {
        AnalogPageDialogTest::SetUp();
        channel = Group(2)->Channels()[5];
        channel->SetDisplayMode(1236);
        channel->Write(1000, 1233);
        TavroSim_ResetCallCounts();
    }
    // Opens the output dialog, starts the wizard from it and lets `drive`
    // work the sheet; `sheetButton` then answers the sheet.
    void RunWizard(int sheetButton, const std::function<void(HWND)>& drive)
    {
        DialogAnswerer answerer;
        answerer.Expect(IDCANCEL, [&](HWND dialog) {
            setupDialog = dialog;
            SendMessageA(dialog, WM_COMMAND, 1239, 0);
        });
        answerer.Expect(sheetButton, [&](HWND sheet) {
            EXPECT_EQ(GetWindow(sheet, GW_OWNER), setupDialog);
            EXPECT_FALSE(IsWindowEnabled(setupDialog));
            PumpFor(60);
            drive(sheet);
        });
        Click(Page(2), 2205);
        ASSERT_EQ(answerer.Count(), 2u);
        EXPECT_NE(answerer.Seen()[1].text.find("calibrated at the factory!"), std::string::npos);
    }
    long Writes() const { return TavroSim_CallCount("TavroSetAnalog"); }

    HWND setupDialog = nullptr;
};

TEST_F(AnalogCalibrationWizardTest, StepsDriveZeroAndFullScale)
{
    RunWizard(0, [&](HWND sheet) {
        EXPECT_EQ(Writes(), 0);
        Press(sheet, PSBTN_NEXT); // step 1 shown
        EXPECT_EQ(Writes(), 1);
        EXPECT_EQ(ModuleOutput(), 2048);
        Press(sheet, PSBTN_NEXT); // step 2 shown
        EXPECT_EQ(Writes(), 2);
        EXPECT_EQ(ModuleOutput(), 2048);
        Press(sheet, PSBTN_NEXT); // leaving step 2
        EXPECT_EQ(Writes(), 3);
        EXPECT_EQ(ModuleOutput(), 4095);
        Press(sheet, PSBTN_BACK); // leaving step 3
        EXPECT_EQ(Writes(), 4);
        EXPECT_EQ(ModuleOutput(), 2048);
        Press(sheet, PSBTN_BACK); // step 1 again: nothing
        EXPECT_EQ(Writes(), 4);
        Press(sheet, PSBTN_NEXT);
        Press(sheet, PSBTN_NEXT);
        EXPECT_EQ(ModuleOutput(), 4095);
        Press(sheet, PSBTN_NEXT); // step 4
        EXPECT_EQ(ModuleOutput(), 2048);
        Press(sheet, PSBTN_BACK); // back to step 3
        EXPECT_EQ(ModuleOutput(), 4095);
        Press(sheet, PSBTN_NEXT);
        Press(sheet, PSBTN_NEXT); // finish page
        EXPECT_EQ(ModuleOutput(), 2048);
        const long writes = Writes();
        Press(sheet, PSBTN_FINISH);
        EXPECT_EQ(Writes(), writes);
    });
    EXPECT_DOUBLE_EQ(channel->OutputCounts(), 2048.0);
    EXPECT_EQ(channel->DisplayMode(), 1236);
}

TEST_F(AnalogCalibrationWizardTest, CancelLeavesTheOutputAtZeroLevelOnceStarted)
{
    RunWizard(IDCANCEL, [&](HWND sheet) {
        Press(sheet, PSBTN_NEXT);
        Press(sheet, PSBTN_NEXT);
        Press(sheet, PSBTN_NEXT);
        EXPECT_EQ(ModuleOutput(), 4095);
    });
    PumpFor(50);
    EXPECT_EQ(ModuleOutput(), 2048);
    EXPECT_DOUBLE_EQ(channel->OutputCounts(), 2048.0);
}

TEST_F(AnalogCalibrationWizardTest, CancelOnTheIntroductionWritesNothing)
{
    RunWizard(IDCANCEL, [](HWND) {});
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(ModuleOutput(), 1000);
}

} // namespace
