// Opening, refusing, reporting and closing controllers through the
// connection record, and the digital panel's settings in drevalon.ini.
#include "connection_fixture.h"

#include <cstring>

#include "controller_choice.h"
#include "digital_app_data.h"
#include "tavro_binding.h"
#include "test_support.h"

using namespace testing_support;

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

// The text of the one box that ReportOpenError shows.
std::string ReportedText(AppDataBase& app)
{
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    app.ReportOpenError();
    EXPECT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Count() ? answerer.Seen()[0].caption : "", "Drevalon");
    return answerer.Count() ? answerer.Seen()[0].text : "";
}

class AppDataTest : public ConnectionTest {
protected:
    void SetUp() override
    {
        ConnectionTest::SetUp();
        confPath = folder.File("drevalon.conf");
        WriteTextFile(confPath, ConfText("1.2", TypeSection(1) + TypeSection(4)));
    }

    TempFolder folder;
    std::string confPath;
};

} // namespace

TEST_F(AppDataTest, OpenReadsCountsModulesAndPages)
{
    std::string manyModules;
    for (int slot = 0; slot < 150; ++slot)
        manyModules += "12,";
    const std::string config = folder.File("tavrosim.ini");
    WriteTextFile(config, "[Controller0]\r\nType=1\r\nDigitalChannels=40\r\nModules=1,12,12,15\r\n"
                          "AnalogInputs=8\r\nAnalogOutputs=4\r\n"
                          "[Controller1]\r\nType=1\r\nModules=" + manyModules + "15\r\n");
    ASSERT_EQ(TavroSim_Reload(config.c_str()), 0);
    TestAppData app(confPath);
    app.SetControllerID(3);
    const short handle = app.OpenController(0);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(app.ControllerID(), 0);
    EXPECT_EQ(app.LastOpenStatus(), 0);
    EXPECT_EQ(app.ControllerType(), 1);
    EXPECT_EQ(app.DigitalChannelCount(), 40);
    EXPECT_EQ(app.PageCount(), 2);
    EXPECT_EQ(app.AnalogInputCount(), 8);
    EXPECT_EQ(app.AnalogOutputCount(), 4);
    EXPECT_EQ(app.ModuleSlotCount(), 4);
    EXPECT_EQ(app.AnalogModuleCount(), 2);
    ASSERT_NE(app.ModuleList(), nullptr);
    EXPECT_EQ(app.ModuleList()[3], 15);

    // Opening again (-1 keeps the id) closes first and counts the same.
    EXPECT_GT(app.OpenController(-1), 0);
    EXPECT_EQ(app.AnalogModuleCount(), 2);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 1);
    app.CloseController();
    EXPECT_EQ(app.Handle(), 0);
    EXPECT_EQ(app.ModuleList(), nullptr);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);

    // A slot count beyond any controller's gives neither a list nor slots.
    TavroSimControllerInfo many = {};
    ASSERT_EQ(TavroSim_ControllerAt(1, &many), 0);
    ASSERT_GT(many.moduleSlots, 128);
    EXPECT_GT(app.OpenController(many.id), 0);
    EXPECT_EQ(app.ModuleSlotCount(), 0);
    EXPECT_EQ(app.ModuleList(), nullptr);
    EXPECT_EQ(app.AnalogModuleCount(), 0);
}

TEST_F(AppDataTest, OpenFailuresAndRefusalsAreReportedInWords)
{
    TestAppData app(confPath);
    EXPECT_EQ(app.OpenController(SimulatedFailingController()), 0);
    const short code = app.Handle();
    EXPECT_LT(code, 0);
    EXPECT_EQ(app.LastOpenStatus(), code);
    char reason[128] = "";
    g_tavro.TavroTranslateErrorEx(code, reason, sizeof reason);
    char expected[256];
    snprintf(expected, sizeof expected, "%s%2hd  -  %s\n", kOpenFailure, code, reason);
    EXPECT_EQ(ReportedText(app), expected);

    // An open that failed without a code still says why.
    app.SetLastOpenStatus(0);
    const std::string noCode = ReportedText(app);
    EXPECT_EQ(noCode.rfind(std::string(kOpenFailure) + " 0  -  ", 0), 0u) << noCode;
    EXPECT_GT(noCode.size(), strlen(kOpenFailure) + 8);

    const struct { std::string conf; int status; const char* text; } refusals[] = {
        {"", CONF_NOT_FOUND,
         "The Drevalon configuration file (drevalon.conf) could not be found (try reinstalling Drevalon).\n"},
        {ConfText("1.10", TypeSection(1)), CONF_OUT_OF_DATE,
         "The Drevalon configuration file (drevalon.conf) is out of date (try reinstalling Drevalon).\n"},
        {ConfText("1.2", TypeSection(2)), CONF_NO_TYPE,
         "This version of Drevalon does not have configuration information for the controller you "
         "selected. Try reinstalling Drevalon.\n"},
    };
    for (const auto& c : refusals) {
        WriteTextFile(confPath, c.conf);
        EXPECT_EQ(app.OpenController(SimulatedControllerOfType(1).id), 0);
        EXPECT_EQ(app.LastOpenStatus(), c.status);
        // Refused but still open until the next close.
        EXPECT_GT(app.Handle(), 0);
        EXPECT_EQ(TavroSim_OpenHandleCount(), 1);
        EXPECT_EQ(ReportedText(app), c.text);
    }
    app.CloseController();
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
}

TEST_F(AppDataTest, CancelledChoiceClosesTheRefusedController)
{
    WriteTextFile(confPath, ConfText("1.2", TypeSection(2)));
    TestAppData app(confPath);
    DialogAnswerer answerer;
    answerer.Expect(IDOK);      // the model check's message
    answerer.Expect(IDCANCEL);  // the controller selection
    EXPECT_EQ(OpenControllerWithChoice(&app, SimulatedControllerOfType(1).id), 0);
    EXPECT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(app.Handle(), 0);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
}

TEST_F(AppDataTest, FailedOpenThenChosenController)
{
    const short good = SimulatedControllerOfType(1).id;
    TestAppData app(confPath);
    app.SetControllerID(SimulatedFailingController());
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    AnswerControllerChoice(answerer, good);
    const short handle = OpenControllerWithChoice(&app, -1);
    EXPECT_GT(handle, 0);
    EXPECT_EQ(app.ControllerID(), good);
    EXPECT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(TavroSim_ControllerIdOfHandle(handle), good);
}

TEST_F(AppDataTest, DigitalPanelPathsAndSettings)
{
    const std::string ini = ExeSiblingPath("drevalon.ini");
    DeleteFileA(ini.c_str());
    {
        AppData app(nullptr);
        EXPECT_STRCASEEQ(app.IniPath(), ini.c_str());
        EXPECT_STRCASEEQ(app.ConfPath(), ExeSiblingPath("drevalon.conf").c_str());
        EXPECT_STRCASEEQ(app.HelpPath(), ExeSiblingPath("digital.hlp").c_str());
        app.SetControllerID(7);
        app.RestoreSettings();
        EXPECT_EQ(app.AutoConfig(), 1);
        EXPECT_EQ(app.ControllerID(), 0);
    }

    // Read as GetPrivateProfileIntA reads them: the leading number, 0 when
    // there is none.
    WriteTextFile(ini, "[Digital Panel]\r\nAutoConfig=maybe\r\nControllerID=\x01\x02zz\r\n");
    {
        AppData app(nullptr);
        app.SetControllerID(7);
        app.RestoreSettings();
        EXPECT_EQ(app.AutoConfig(), 0);
        EXPECT_EQ(app.ControllerID(), 0);
    }
    WriteTextFile(ini, "[Digital Panel]\r\nAutoConfig=2 ; on\r\nControllerID=3 ; bench\r\n");
    {
        AppData app(nullptr);
        app.RestoreSettings();
        EXPECT_EQ(app.AutoConfig(), 2);
        EXPECT_EQ(app.ControllerID(), 3);
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
