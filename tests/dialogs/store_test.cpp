// Save and restore of axis settings and of the digital I/O configuration.
// The simulator's reload stands for switching the controller off and on.
#include "dialog_test_env.h"

#include <cstring>
#include <string>
#include <vector>

using testing_support::DialogAnswerer;
using testing_support::TempFolder;
using testing_support::WriteTextFile;

namespace {

class SettingsStore : public OpenController {
protected:
    void SetUp() override
    {
        OpenController::SetUp();
        DeleteFileA(StoreFile(controller_.id).c_str());
    }
    void TearDown() override
    {
        OpenController::TearDown();
        DeleteFileA(StoreFile(controller_.id).c_str());
    }
};

// A folder where a file should be, removed however the test ends: the store
// path is shared with the tests of every program.
class FolderInTheWay {
public:
    explicit FolderInTheWay(const std::string& path)
        : path_(path), made_(CreateDirectoryA(path.c_str(), nullptr) != FALSE)
    {
    }
    ~FolderInTheWay()
    {
        if (made_)
            RemoveDirectoryA(path_.c_str());
    }
    FolderInTheWay(const FolderInTheWay&) = delete;
    FolderInTheWay& operator=(const FolderInTheWay&) = delete;
    bool Made() const { return made_; }

private:
    std::string path_;
    bool made_;
};

void ChangeAxis(short handle, short axis, double gain, double velocity, double limit)
{
    TavroMotionConfig motion = Motion(handle, axis);
    motion.proportionalGain = gain;
    motion.velocity = velocity;
    ASSERT_EQ(TavroSetMotionConfig(handle, axis, &motion), TAVRO_OK);
    TavroFilterConfig filter = Filter(handle, axis);
    filter.integrationLimit = limit;
    ASSERT_EQ(TavroSetFilterConfig(handle, axis, &filter), TAVRO_OK);
}

} // namespace

TEST_F(SettingsStore, SavedAxisSettingsComeBackAfterPowerOn)
{
    TavroMotionConfig powerOn1 = Motion(handle_, 1);
    TavroMotionConfig powerOn2 = Motion(handle_, 2);
    ChangeAxis(handle_, 1, powerOn1.proportionalGain + 1.5, powerOn1.velocity * 2 + 1, 123.25);
    ChangeAxis(handle_, 2, powerOn2.proportionalGain + 2.5, powerOn2.velocity * 3 + 1, 7.5);
    TavroScale scale = {};
    ASSERT_EQ(TavroGetScale(handle_, 1, &scale), TAVRO_OK);
    scale.positionScale = 4096.0;
    ASSERT_EQ(TavroSetScale(handle_, 1, &scale), TAVRO_OK);
    ASSERT_EQ(TavroDLG_SaveAxis(handle_, 0, 0, nullptr), TAVRO_OK);

    PowerCycle();
    EXPECT_DOUBLE_EQ(Motion(handle_, 1).proportionalGain, powerOn1.proportionalGain);

    // One axis alone, then all.
    EXPECT_EQ(TavroDLG_RestoreAxis(handle_, 2, 0x801, nullptr), TAVRO_OK);
    EXPECT_DOUBLE_EQ(Motion(handle_, 1).proportionalGain, powerOn1.proportionalGain);
    EXPECT_DOUBLE_EQ(Motion(handle_, 2).proportionalGain, powerOn2.proportionalGain + 2.5);
    EXPECT_DOUBLE_EQ(Filter(handle_, 2).integrationLimit, 7.5);

    EXPECT_EQ(TavroDLG_RestoreAxis(handle_, 0, 0x801, nullptr), TAVRO_OK);
    TavroMotionConfig axis1 = Motion(handle_, 1);
    EXPECT_DOUBLE_EQ(axis1.proportionalGain, powerOn1.proportionalGain + 1.5);
    EXPECT_DOUBLE_EQ(axis1.velocity, powerOn1.velocity * 2 + 1);
    EXPECT_DOUBLE_EQ(Filter(handle_, 1).integrationLimit, 123.25);
    ASSERT_EQ(TavroGetScale(handle_, 1, &scale), TAVRO_OK);
    EXPECT_DOUBLE_EQ(scale.positionScale, 4096.0);
}

TEST_F(SettingsStore, NothingStoredOrADeadHandleChangesNothing)
{
    TempFolder folder;
    TavroMotionConfig before = Motion(handle_, 1);
    TavroSim_ResetCallCounts();
    EXPECT_EQ(TavroDLG_RestoreAxis(handle_, 0, 1, nullptr), TAVRO_OK);
    EXPECT_EQ(TavroDLG_RestoreAxis(handle_, 0, 1, folder.File("none.ini").c_str()), TAVRO_OK);
    EXPECT_EQ(TavroDLG_RestoreDigitalIO(handle_, 0, 0, nullptr), TAVRO_OK);
    EXPECT_EQ(TavroSim_CallCount("TavroSetMotionConfig"), 0);
    EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), 0);
    TavroMotionConfig after = Motion(handle_, 1);
    EXPECT_EQ(memcmp(&after, &before, sizeof before), 0);

    EXPECT_LT(TavroDLG_SaveAxis(0, 0, 0, nullptr), 0);
    EXPECT_LT(TavroDLG_SaveDigitalIO(-1, 0, 0, nullptr), 0);
    EXPECT_LT(TavroDLG_RestoreAxis(0, 0, 0x801, nullptr), 0);
    EXPECT_LT(TavroDLG_SaveAxis(handle_, static_cast<short>(controller_.axisCount + 1), 0, nullptr), 0);
    EXPECT_EQ(GetFileAttributesA(StoreFile(controller_.id).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsStore, AStoreThatCannotBeWrittenIsReportedAndTheSaveFails)
{
    FolderInTheWay store(StoreFile(controller_.id));
    ASSERT_TRUE(store.Made());
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    EXPECT_LT(TavroDLG_SaveAxis(handle_, 0, 0, nullptr), 0);
    EXPECT_LT(TavroDLG_SaveDigitalIO(handle_, 1, 8, nullptr), 0);
    ASSERT_EQ(answerer.Count(), 2u);
    for (const auto& box : answerer.Seen())
        EXPECT_NE(box.text.find("could not be stored"), std::string::npos) << box.text;
}

TEST_F(SettingsStore, ARefusedRestorePutsBackWhatItHadWritten)
{
    ASSERT_GE(controller_.axisCount, 2);
    TempFolder folder;
    std::string file = folder.File("refused.ini");
    ASSERT_EQ(TavroDLG_SaveAxis(handle_, 0, 0, file.c_str()), TAVRO_OK);
    TavroMotionConfig saved1 = Motion(handle_, 1);
    ChangeAxis(handle_, 1, saved1.proportionalGain + 3, saved1.velocity + 10, 55.5);
    // Axis 2: motion the controller takes, then a filter it refuses.
    WritePrivateProfileStringA("Axis 2", "ProportionalGain", "42.5", file.c_str());
    WritePrivateProfileStringA("Axis 2", "IntegralGain", "-1", file.c_str());
    TavroMotionConfig before1 = Motion(handle_, 1), before2 = Motion(handle_, 2);
    TavroFilterConfig filter1 = Filter(handle_, 1), filter2 = Filter(handle_, 2);

    EXPECT_LT(TavroDLG_RestoreAxis(handle_, 0, 0x801, file.c_str()), 0);
    TavroMotionConfig after1 = Motion(handle_, 1), after2 = Motion(handle_, 2);
    TavroFilterConfig afterFilter1 = Filter(handle_, 1), afterFilter2 = Filter(handle_, 2);
    EXPECT_EQ(memcmp(&after1, &before1, sizeof before1), 0) << "axis 1 written, then put back";
    EXPECT_EQ(memcmp(&afterFilter1, &filter1, sizeof filter1), 0);
    EXPECT_EQ(memcmp(&after2, &before2, sizeof before2), 0) << "motion put back after the refused filter";
    EXPECT_EQ(memcmp(&afterFilter2, &filter2, sizeof filter2), 0);
}

TEST_F(SettingsStore, DamagedStoredValuesAreReportedAndNothingIsApplied)
{
    TempFolder folder;
    std::string file = folder.File("damaged.ini");
    ASSERT_EQ(TavroDLG_SaveAxis(handle_, 0, 0, file.c_str()), TAVRO_OK);
    TavroMotionConfig saved1 = Motion(handle_, 1);
    // Axis 1 stored well, axis 2 with a velocity that is no number.
    WritePrivateProfileStringA("Axis 1", "ProportionalGain", "42.5", file.c_str());
    WritePrivateProfileStringA("Axis 2", "Velocity", "fast", file.c_str());

    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    EXPECT_LT(TavroDLG_RestoreAxis(handle_, 0, 0x801, file.c_str()), 0);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find("Velocity"), std::string::npos) << answerer.Seen()[0].text;
    EXPECT_DOUBLE_EQ(Motion(handle_, 1).proportionalGain, saved1.proportionalGain) << "never half-applied";

    // The digital store likewise.
    WriteTextFile(folder.File("digital.ini"), "[Digital I/O]\r\nChannels=2\r\nChannel 1=0x0002\r\nChannel 2=oops\r\n");
    TavroSim_ResetCallCounts();
    answerer.Expect(IDOK);
    if (controller_.digitalChannels >= 2) {
        EXPECT_LT(TavroDLG_RestoreDigitalIO(handle_, 0, 0, folder.File("digital.ini").c_str()), 0);
        EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), 0);
        EXPECT_EQ(answerer.Count(), 2u);
    }
}

TEST(DigitalStore, SavedConfigurationComesBackAfterPowerOnInBothForms)
{
    ASSERT_EQ(TavroSim_Reload(nullptr), TAVRO_OK);
    TavroSimControllerInfo info = {};
    ASSERT_TRUE(FindController([](const TavroSimControllerInfo& c) { return c.digitalChannels >= 16; }, &info));
    DeleteFileA(StoreFile(info.id).c_str());
    short handle = TavroOpen(info.id, TAVRO_OPEN_SHARED, "");
    ASSERT_GT(handle, 0);

    // Channels whose direction may change: one output active low, one input
    // active low, one latched input where the channel can latch (stored, but
    // not restored).
    std::vector<short> free;
    short latchable = 0;
    for (short channel = 1; channel <= 16; ++channel) {
        unsigned short word = 0;
        ASSERT_EQ(TavroGetDigitalIOConfig(handle, channel, &word), TAVRO_OK);
        if (word & (TAVRO_DIO_FIXED | TAVRO_DIO_STEPPER))
            continue;
        if ((word & TAVRO_DIO_CAN_LATCH) && !latchable)
            latchable = channel;
        else
            free.push_back(channel);
    }
    ASSERT_GE(free.size(), 2u);
    ASSERT_EQ(TavroConfigureDigitalIO(handle, free[0], TAVRO_DIO_MODE_OUTPUT | TAVRO_DIO_MODE_LOW), TAVRO_OK);
    ASSERT_EQ(TavroConfigureDigitalIO(handle, free[1], TAVRO_DIO_MODE_INPUT | TAVRO_DIO_MODE_LOW), TAVRO_OK);
    if (latchable) {
        ASSERT_EQ(TavroConfigureDigitalIO(handle, latchable, TAVRO_DIO_MODE_LATCH), TAVRO_OK);
    }
    std::vector<unsigned short> wanted(17);
    for (short channel = 1; channel <= 16; ++channel)
        TavroGetDigitalIOConfig(handle, channel, &wanted[static_cast<size_t>(channel)]);

    for (int form = 0; form < 2; ++form) {
        short saved = form == 0 ? TavroDLG_SaveDigitalIO(handle, 1, 16, nullptr)
                                : TavroDLG_SaveDigitalIO(handle, 0, 0, nullptr);
        ASSERT_EQ(saved, TAVRO_OK);
        ASSERT_EQ(TavroSim_Reload(nullptr), TAVRO_OK);
        handle = TavroOpen(info.id, TAVRO_OPEN_SHARED, "");
        ASSERT_GT(handle, 0);
        unsigned short word = 0;
        TavroGetDigitalIOConfig(handle, free[0], &word);
        EXPECT_EQ(word & TAVRO_DIO_OUTPUT, 0) << "power-on state is input";
        EXPECT_EQ(TavroDLG_RestoreDigitalIO(handle, 0, 0, nullptr), TAVRO_OK);
        // Direction and polarity come back; every latch stays off.
        for (short channel = 1; channel <= 16; ++channel) {
            TavroGetDigitalIOConfig(handle, channel, &word);
            EXPECT_EQ(word, wanted[static_cast<size_t>(channel)] & ~TAVRO_DIO_LATCHED)
                << "form " << form << " channel " << channel;
        }
    }
    TavroClose(handle);
    DeleteFileA(StoreFile(info.id).c_str());
}
