// Opening, refusing, reporting and closing controllers through the
// connection record, and the digital panel's settings in drevalon.ini.
#include "connection_fixture.h"

#include <cstring>

#include "controller_choice.h"
#include "digital_app_data.h"
#include "tavro_binding.h"
#include "test_support.h"

using testing_support::DialogAnswerer;
using testing_support::ExeSiblingPath;
using testing_support::ReadTextFile;
using testing_support::TempFolder;
using testing_support::WriteTextFile;

namespace {

// A connection whose drevalon.conf the test chooses.
class TestAppData final : public AppDataBase {
public:
    explicit TestAppData(const std::string& conf) : AppDataBase(nullptr, "test")
    {
        snprintf(confPath, sizeof confPath, "%s", conf.c_str());
    }
    ~TestAppData() = default;
    void RestoreSettings() override {}
    void SaveSettings() override {}
    void SetLastOpenStatus(int status) { lastOpenStatus = status; }
};

const char kOpenFailure[] = "Unable to the open controller for the following reason:\n\nID ";

// The simulator's ids of a few models, with a conf file that knows them all.
class AppDataTest : public ConnectionTest {
protected:
    void SetUp() override
    {
        ConnectionTest::SetUp();
        confPath = folder.File("drevalon.conf");
        std::string sections;
        for (int type : {1, 2, 3, 4, 5, 8})
            sections += TypeSection(type);
        WriteTextFile(confPath, ConfText("1.2", sections));
    }

    TempFolder folder;
    std::string confPath;
};

} // namespace

TEST_F(AppDataTest, PathsLieBesideTheExecutable)
{
    AppData app(nullptr);
    EXPECT_STRCASEEQ(app.IniPath(), ExeSiblingPath("drevalon.ini").c_str());
    EXPECT_STRCASEEQ(app.ConfPath(), ExeSiblingPath("drevalon.conf").c_str());
    EXPECT_STRCASEEQ(app.HelpPath(), ExeSiblingPath("digital.hlp").c_str());
    EXPECT_EQ(app.Handle(), 0);
    EXPECT_EQ(app.ModuleList(), nullptr);
}

TEST_F(AppDataTest, OpenReadsCountsAndModules)
{
    const short id = IdOfType(1);
    TestAppData app(confPath);
    const short handle = app.OpenController(id);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(app.Handle(), handle);
    EXPECT_EQ(app.ControllerID(), id);
    EXPECT_EQ(app.LastOpenStatus(), 0);
    EXPECT_EQ(app.ControllerType(), 1);

    TavroSimControllerInfo info = {};
    ASSERT_TRUE(FindController([](const TavroSimControllerInfo& c) { return c.controllerType == 1; }, &info));
    EXPECT_EQ(app.DigitalChannelCount(), info.digitalChannels);
    EXPECT_EQ(app.PageCount(), info.digitalChannels / 16);
    EXPECT_EQ(app.AnalogInputCount(), info.analogInputs);
    EXPECT_EQ(app.AnalogOutputCount(), info.analogOutputs);
    EXPECT_EQ(app.ModuleSlotCount(), info.moduleSlots);
    EXPECT_EQ(app.AnalogModuleCount(), 1);
    ASSERT_NE(app.ModuleList(), nullptr);

    // Opening again (-1 keeps the id) closes first and counts the same modules.
    EXPECT_GT(app.OpenController(-1), 0);
    EXPECT_EQ(app.ControllerID(), id);
    EXPECT_EQ(app.AnalogModuleCount(), 1);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 1);

    app.CloseController();
    EXPECT_EQ(app.Handle(), 0);
    EXPECT_EQ(app.ModuleList(), nullptr);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
}

TEST_F(AppDataTest, LargeControllerCountsBothAnalogModulesAndItsPages)
{
    TestAppData app(confPath);
    ASSERT_GT(app.OpenController(IdOfType(2)), 0);
    EXPECT_EQ(app.AnalogModuleCount(), 2);
    EXPECT_EQ(app.PageCount(), app.DigitalChannelCount() / 16);
    EXPECT_GE(app.PageCount(), 2);
}

TEST_F(AppDataTest, FortyChannelsGiveTwoPages)
{
    TempFolder simulated;
    const std::string config = simulated.File("tavrosim.ini");
    WriteTextFile(config, "[Controller0]\r\nType=1\r\nDescription=Forty\r\nDigitalChannels=40\r\n"
                          "Modules=1,12,12,15\r\n");
    ASSERT_EQ(TavroSim_Reload(config.c_str()), 0);
    TestAppData app(confPath);
    ASSERT_GT(app.OpenController(0), 0);
    EXPECT_EQ(app.DigitalChannelCount(), 40);
    EXPECT_EQ(app.PageCount(), 2);
    EXPECT_EQ(app.ModuleSlotCount(), 4);
    EXPECT_EQ(app.AnalogModuleCount(), 2);
    ASSERT_NE(app.ModuleList(), nullptr);
    EXPECT_EQ(app.ModuleList()[3], 15);
}

TEST_F(AppDataTest, FailedOpenReportsTheApiText)
{
    const short failing = FailingId();
    TestAppData app(confPath);
    EXPECT_EQ(app.OpenController(failing), 0);
    const short code = app.Handle();
    EXPECT_LT(code, 0);
    EXPECT_EQ(app.LastOpenStatus(), code);

    char reason[128] = "";
    g_tavro.TavroTranslateErrorEx(code, reason, sizeof reason);
    char expected[256];
    snprintf(expected, sizeof expected, "%s%2hd  -  %s\n", kOpenFailure, code, reason);

    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    app.ReportOpenError();
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Drevalon");
    EXPECT_EQ(answerer.Seen()[0].text, expected);

    // The negative code is closed too, and never again used.
    app.CloseController();
    EXPECT_EQ(app.Handle(), 0);
}

TEST_F(AppDataTest, OpenStatusWithoutCodeStillExplains)
{
    TestAppData app(confPath);
    app.SetLastOpenStatus(0);
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    app.ReportOpenError();
    ASSERT_EQ(answerer.Count(), 1u);
    const std::string& text = answerer.Seen()[0].text;
    EXPECT_EQ(text.rfind(std::string(kOpenFailure) + " 0  -  ", 0), 0u) << text;
    EXPECT_GT(text.size(), strlen(kOpenFailure) + 8);
}

TEST_F(AppDataTest, ModelCheckStatusesAndTheirTexts)
{
    const short id = IdOfType(1);
    const struct { std::string conf; int status; const char* text; } cases[] = {
        {"", CONF_NOT_FOUND,
         "The Drevalon configuration file (drevalon.conf) could not be found (try reinstalling Drevalon).\n"},
        {ConfText("1.10", TypeSection(1)), CONF_OUT_OF_DATE,
         "The Drevalon configuration file (drevalon.conf) is out of date (try reinstalling Drevalon).\n"},
        {ConfText("1.2", TypeSection(2)), CONF_NO_TYPE,
         "This version of Drevalon does not have configuration information for the controller you "
         "selected. Try reinstalling Drevalon.\n"},
    };
    for (const auto& c : cases) {
        if (c.conf.empty())
            DeleteFileA(confPath.c_str());
        else
            WriteTextFile(confPath, c.conf);
        TestAppData app(confPath);
        EXPECT_EQ(app.OpenController(id), 0);
        EXPECT_EQ(app.LastOpenStatus(), c.status);
        // Refused but still open until the next close.
        EXPECT_GT(app.Handle(), 0);
        EXPECT_EQ(TavroSim_OpenHandleCount(), 1);

        DialogAnswerer answerer;
        answerer.Expect(IDOK);
        app.ReportOpenError();
        ASSERT_EQ(answerer.Count(), 1u);
        EXPECT_EQ(answerer.Seen()[0].text, c.text);

        app.CloseController();
        EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
    }
}

TEST_F(AppDataTest, CancelledChoiceClosesTheRefusedController)
{
    WriteTextFile(confPath, ConfText("1.2", TypeSection(2)));
    TestAppData app(confPath);
    DialogAnswerer answerer;
    answerer.Expect(IDOK);      // the model check's message
    answerer.Expect(IDCANCEL);  // the controller selection
    EXPECT_EQ(OpenControllerWithChoice(&app, IdOfType(1)), 0);
    EXPECT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(app.Handle(), 0);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
}

TEST_F(AppDataTest, FailedOpenThenChosenController)
{
    const short good = IdOfType(1);
    TestAppData app(confPath);
    app.SetControllerID(FailingId());

    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    answerer.Expect(IDOK, [&](HWND dialog) {
        // Select the controller's line in the dialog's list (item data: its id).
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char className[32] = "";
            GetClassNameA(child, className, sizeof className);
            if (_stricmp(className, "ListBox") != 0)
                continue;
            const int count = static_cast<int>(SendMessageA(child, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                if (static_cast<short>(SendMessageA(child, LB_GETITEMDATA, i, 0)) == good)
                    SendMessageA(child, LB_SETCURSEL, i, 0);
            }
        }
    });
    const short handle = OpenControllerWithChoice(&app, -1);
    EXPECT_GT(handle, 0);
    EXPECT_EQ(app.ControllerID(), good);
    EXPECT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(TavroSim_ControllerIdOfHandle(handle), good);
}

TEST_F(AppDataTest, DigitalPanelSettingsInTheIniFile)
{
    const std::string ini = ExeSiblingPath("drevalon.ini");
    DeleteFileA(ini.c_str());
    {
        AppData app(nullptr);
        app.SetControllerID(7);
        app.RestoreSettings();
        EXPECT_EQ(app.AutoConfig(), 1);
        EXPECT_EQ(app.ControllerID(), 0);
    }

    WriteTextFile(ini, "[Digital Panel]\r\nAutoConfig=maybe\r\nControllerID=\x01\x02zz\r\n");
    {
        AppData app(nullptr);
        app.RestoreSettings();
        EXPECT_EQ(app.AutoConfig(), 1);
        EXPECT_EQ(app.ControllerID(), 0);
        app.SetAutoConfig(0);
        app.SetControllerID(70000);  // kept as a signed 16-bit id
        app.SaveSettings();
    }
    {
        AppData app(nullptr);
        app.RestoreSettings();
        EXPECT_EQ(app.AutoConfig(), 0);
        EXPECT_EQ(app.ControllerID(), static_cast<short>(70000));
    }
    DeleteFileA(ini.c_str());
}
