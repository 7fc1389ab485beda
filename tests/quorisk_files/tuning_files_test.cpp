// Command files and CSV files of the tuning program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "plot_refresh.h"
#include "quorisk_test_env.h"
#include "tavro_binding.h"
#include "test_support.h"
#include "tuning_files.h"
#include "vistrel.h"

using namespace quorisk_test;
using testing_support::DialogAnswerer;
using testing_support::TempFolder;

namespace {

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        for (int c; (c = fgetc(file)) != EOF;) {
            bytes += static_cast<char>(c);
        }
        fclose(file);
    }
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

// The text before the first comma of each data row.
std::vector<std::string> TimeColumn(const std::string& bytes)
{
    std::vector<std::string> times;
    size_t start = bytes.find('\n');
    while (start != std::string::npos && start + 1 < bytes.size()) {
        size_t end = bytes.find('\n', start + 1);
        std::string row = bytes.substr(start + 1, end == std::string::npos ? end : end - start - 1);
        times.push_back(row.substr(0, row.find(',')));
        start = end;
    }
    return times;
}

class TuningFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeController();
        data_ = window_.Data();
        data_->controller = FAKE_HANDLE;
    }

    TempFolder folder_;
    TuningWindow window_;
    TuningWindowData* data_ = nullptr;
};

TEST_F(TuningFilesTest, CommandFileForFractionalGainsWithANonServoAxis)
{
    g_fake.axes[2].config.axisFlags = 0;  // a stepper
    g_fake.axes[3].motion.updateRate = 3; // no servo period known
    std::string path = folder_.File("tuning.tcl");
    WriteTuningCommandFile(FAKE_HANDLE, path.c_str());

    const std::string expected =
        ";\r\n;Axis 1 setup\r\n;\r\n"
        "1SG1.50000\t\t;Proportional Gain\r\n"
        "1SI0.12500\t\t;Integral Gain\r\n"
        "1SD0.25000\t\t;Derivative Gain\r\n"
        "1IL50.00000\t\t;Integration Limit\r\n"
        "1FR3\t\t;Derivative Sampling Period\r\n"
        "1VG0.00000\t\t;Velocity Gain (Feed Forward)\r\n"
        "1SE1024.00000\t\t;Stop on Error\r\n"
        "1SQ10.00000\t\t;Torque\r\n"
        "1SV500.00000\t\t;Velocity\r\n"
        "1SA1000.00000\t\t;Acceleration\r\n"
        "1DS2000.00000\t\t;Deceleration\r\n"
        "2SV1000.00000\t\t;Velocity\r\n"
        "2SA2000.00000\t\t;Acceleration\r\n"
        "2DS4000.00000\t\t;Deceleration\r\n"
        ";\r\n;Axis 3 setup\r\n;\r\n"
        "3SG4.50000\t\t;Proportional Gain\r\n"
        "3SI0.37500\t\t;Integral Gain\r\n"
        "3SD0.75000\t\t;Derivative Gain\r\n"
        "3IL50.00000\t\t;Integration Limit\r\n"
        "3FR0\t\t;Derivative Sampling Period\r\n"
        "3VG0.00000\t\t;Velocity Gain (Feed Forward)\r\n"
        "3SE1024.00000\t\t;Stop on Error\r\n"
        "3SQ10.00000\t\t;Torque\r\n"
        "3SV1500.00000\t\t;Velocity\r\n"
        "3SA3000.00000\t\t;Acceleration\r\n"
        "3DS6000.00000\t\t;Deceleration\r\n";
    EXPECT_EQ(expected, ReadBytes(path));
}

TEST_F(TuningFilesTest, CommandFileForIntegerGainsRoundsToWholeNumbers)
{
    g_fake.config.flags = 0;
    g_fake.config.axisCount = 1;
    g_fake.config.controllerType = 8; // servo period: the axis count in ms
    FakeAxis& axis = g_fake.axes[1];
    axis.motion.proportionalGain = 1.5;
    axis.filter.integralGain = 12.25;
    axis.filter.derivativeGain = 99.75;
    axis.filter.derivativePeriod = 0.004;
    std::string path = folder_.File("tuning.tcl");
    WriteTuningCommandFile(FAKE_HANDLE, path.c_str());

    std::string text = ReadBytes(path);
    for (const char* line : {"\n1SG2\t\t;", "\n1SI12\t\t;", "\n1SD100\t\t;", "\n1FR3\t\t;",
                             "\n1SE1024\t\t;", "\n1DS2000\t\t;Deceleration\r\n"}) {
        EXPECT_NE(std::string::npos, text.find(line)) << line;
    }
}

TEST_F(TuningFilesTest, CsvExportWritesKeptSamplesOfTheChosenTraces)
{
    data_->Axis = 2;
    data_->actualSeries[1] = {1.0, 2.0, 3.0};
    data_->optimalSeries[1] = {1.5, 2.5, 3.5};
    data_->errorSeries[1] = {0.125, 0.25, 0.375};
    data_->torqueSeries[1] = {4.0, 5.0, 6.0};
    data_->auxiliarySeries[1] = {7.0, 8.0}; // one short
    CaptureTiming& timing = data_->seriesTiming[1];
    timing.points = 5;
    timing.Sampling = 2;
    timing.period = 0.001;
    timing.Delay = 0.01;
    data_->hasAuxEncoder = 1;
    data_->PlotAuxiliary = 1;
    std::string path = folder_.File("test.csv");
    ExportCaptureCsv(window_.Window(), path.c_str());
    EXPECT_EQ("Time, Actual, Optimal, Error, Torque\r\n"
              "0.010000, 1, 1.5, 0.125, 0, 7\r\n"
              "0.012000, 2, 2.5, 0.25, 0, 8\r\n"
              "0.014000, 3, 3.5, 0.375, 0, 0\r\n",
              ReadBytes(path));

    // Without an auxiliary encoder its column is 0 whatever the flag says;
    // rows end with the samples recorded, whatever the timing claims.
    data_->hasAuxEncoder = 0;
    data_->PlotTorque = 1;
    timing.points = 9;
    ExportCaptureCsv(window_.Window(), path.c_str());
    EXPECT_EQ("Time, Actual, Optimal, Error, Torque\r\n"
              "0.010000, 1, 1.5, 0.125, 4, 0\r\n"
              "0.012000, 2, 2.5, 0.25, 5, 0\r\n"
              "0.014000, 3, 3.5, 0.375, 6, 0\r\n",
              ReadBytes(path));
    // An axis with no samples writes no rows.
    data_->seriesTiming[2] = timing;
    data_->Axis = 3;
    ExportCaptureCsv(window_.Window(), path.c_str());
    EXPECT_EQ("Time, Actual, Optimal, Error, Torque\r\n", ReadBytes(path));

    // A step of 0 would never reach the end.
    data_->Axis = 2;
    timing.Sampling = 0;
    ExportCaptureCsv(window_.Window(), path.c_str());
    EXPECT_EQ((std::vector<std::string>{"0.010000", "0.011000", "0.012000"}),
              TimeColumn(ReadBytes(path)));
}

TEST_F(TuningFilesTest, CsvExportThenImportGivesTheSameTest)
{
    data_->Axis = 1;
    data_->PlotTorque = 1;
    data_->hasAuxEncoder = 1;
    data_->PlotAuxiliary = 1;
    data_->seriesTiming[0] = {512, 0.0005, 0.002, 1, 0.5};
    for (int i = 0; i < 512; ++i) {
        data_->actualSeries[0].push_back(i * 0.5);
        data_->optimalSeries[0].push_back(i * 0.25);
        data_->errorSeries[0].push_back(-i * 0.125);
        data_->torqueSeries[0].push_back(i % 7);
        data_->auxiliarySeries[0].push_back(1000 + i);
    }
    std::string path = folder_.File("round.csv");
    ExportCaptureCsv(window_.Window(), path.c_str());

    TuningWindow other;
    TuningWindowData* data = other.Data();
    data->Axis = 1;
    data->lastTest.Sampling = 4;
    EXPECT_EQ(1, ImportCaptureCsv(other.Window(), path.c_str()));
    for (auto series : {&TuningWindowData::actualSeries, &TuningWindowData::optimalSeries,
                        &TuningWindowData::errorSeries, &TuningWindowData::torqueSeries,
                        &TuningWindowData::auxiliarySeries}) {
        EXPECT_EQ((data_->*series)[0], (data->*series)[0]);
    }
    EXPECT_EQ(512, data->lastTest.points);
    EXPECT_EQ(1, data->lastTest.Sampling);
    EXPECT_DOUBLE_EQ(0.002, data->lastTest.Delay);
    EXPECT_NEAR(511 * 0.0005, data->lastTest.RecordTime, 1e-9);
    EXPECT_EQ(1, data->testDone);
}

TEST_F(TuningFilesTest, CsvImportThenExportKeepsTheTimeColumn)
{
    std::string in = folder_.File("in.csv");
    std::string out = folder_.File("out.csv");
    // A fresh start (no test has set a capture period), then a file read
    // after a real test with another period and delay.
    const std::vector<std::pair<std::string, std::vector<std::string>>> files = {
        {"0.01, 1, 2, 3, 4, 5\n0.02, 1, 2, 3, 4, 5\n0.03, 1, 2, 3, 4, 5\n",
         {"0.010000", "0.020000", "0.030000"}},
        {"0.5, 1, 2, 3, 4\n0.6, 1, 2, 3, 4\n", {"0.500000", "0.600000"}},
    };
    for (const auto& file : files) {
        WriteBytes(in, "Time, Actual, Optimal, Error, Torque\n" + file.first);
        ASSERT_EQ(1, ImportCaptureCsv(window_.Window(), in.c_str()));
        ExportCaptureCsv(window_.Window(), out.c_str());
        EXPECT_EQ(file.second, TimeColumn(ReadBytes(out)));
        data_->lastTest.period = 0.00025;
        data_->lastTest.Delay = 0.125;
    }

    // A whole exported test comes back with the same times after a
    // round trip through another window.
    data_->seriesTiming[0] = {400, 0.00075, 0.0035, 2, 0.5};
    data_->actualSeries[0].assign(200, 1.0);
    ExportCaptureCsv(window_.Window(), in.c_str());
    TuningWindow other;
    ASSERT_EQ(1, ImportCaptureCsv(other.Window(), in.c_str()));
    ExportCaptureCsv(other.Window(), out.c_str());
    std::vector<std::string> written = TimeColumn(ReadBytes(in));
    ASSERT_EQ(200u, written.size());
    EXPECT_EQ(written, TimeColumn(ReadBytes(out)));
}

// An axis shown again plots and exports its own samples at the times they
// were taken, whatever another axis recorded since.
TEST_F(TuningFilesTest, AxisShownAgainKeepsTheTimingOfItsOwnSeries)
{
    std::string in = folder_.File("in.csv");
    std::string out = folder_.File("out.csv");
    WriteBytes(in, "T\n0, 1, 1, 0, 0\n0.05, 2, 2, 0, 0\n0.1, 3, 3, 0, 0\n");
    ASSERT_EQ(1, ImportCaptureCsv(window_.Window(), in.c_str()));
    data_->Axis = 2;
    WriteBytes(in, "T\n0.05, 1, 1, 0, 0\n0.1, 1, 1, 0, 0\n0.15, 1, 1, 0, 0\n0.2, 1, 1, 0, 0\n"
                   "0.25, 1, 1, 0, 0\n");
    ASSERT_EQ(1, ImportCaptureCsv(window_.Window(), in.c_str()));
    data_->Axis = 1;
    ExportCaptureCsv(window_.Window(), out.c_str());
    EXPECT_EQ((std::vector<std::string>{"0.000000", "0.050000", "0.100000"}),
              TimeColumn(ReadBytes(out)));
    RefreshPlots(window_.Window());
    double xMin = -1.0;
    double xMax = -1.0;
    SendMessageA(data_->plotWindows[0], PLM_GETXMIN, 0, reinterpret_cast<LPARAM>(&xMin));
    SendMessageA(data_->plotWindows[0], PLM_GETXMAX, 0, reinterpret_cast<LPARAM>(&xMax));
    EXPECT_DOUBLE_EQ(0.0, xMin);
    EXPECT_DOUBLE_EQ(100.0, xMax);
}

TEST_F(TuningFilesTest, CsvImportReadsRowsUntilTheFirstMalformedOne)
{
    std::string path = folder_.File("rows.csv");
    WriteBytes(path,
               "Time, Actual, Optimal, Error, Torque\r\n"
               "0.5, 1, 2, 3, 4, 5\r\n"
               "\r\n"
               "0.6, 1.5, 2.5, 3.5, 4.5, 5.5\r\n"
               "0.7,10,20,30,40\r\n"
               "0.8 ,1,2,3,4,5\r\n"
               "0.9, 9, 9, 9, 9, 9\r\n");
    data_->Axis = 3;
    EXPECT_EQ(1, ImportCaptureCsv(window_.Window(), path.c_str()));
    EXPECT_EQ((CaptureSeries{1, 1.5, 10}), data_->actualSeries[2]);
    EXPECT_EQ((CaptureSeries{2, 2.5, 20}), data_->optimalSeries[2]);
    EXPECT_EQ((CaptureSeries{3, 3.5, 30}), data_->errorSeries[2]);
    EXPECT_EQ((CaptureSeries{4, 4.5, 40}), data_->torqueSeries[2]);
    EXPECT_EQ((CaptureSeries{5, 5.5, 5.5}), data_->auxiliarySeries[2]);
    EXPECT_EQ(3, data_->lastTest.points);
    EXPECT_DOUBLE_EQ(0.5, data_->lastTest.Delay);
    EXPECT_NEAR(0.2, data_->lastTest.RecordTime, 1e-12);
    EXPECT_EQ(1, data_->testDone);
}

TEST_F(TuningFilesTest, CsvImportKeepsDelayAndTimeItCannotDeriveAndNothingOnFailure)
{
    data_->lastTest.Delay = 0.25;
    data_->lastTest.RecordTime = 0.75;
    std::string path = folder_.File("single.csv");
    WriteBytes(path, "header\n-0.01, 1, 2, 3, 4, 5\n");
    EXPECT_EQ(1, ImportCaptureCsv(window_.Window(), path.c_str()));
    EXPECT_EQ(1, data_->lastTest.points);
    EXPECT_DOUBLE_EQ(0.25, data_->lastTest.Delay);
    EXPECT_DOUBLE_EQ(0.75, data_->lastTest.RecordTime);
    EXPECT_EQ(1, data_->testDone);

    // A file that cannot be opened changes nothing.
    EXPECT_EQ(0, ImportCaptureCsv(window_.Window(), folder_.File("missing.csv").c_str()));
    EXPECT_EQ((CaptureSeries{1}), data_->actualSeries[0]);
    EXPECT_EQ(1, data_->testDone);

    // A file without data rows leaves no test to print or save.
    WriteBytes(path, "Time, Actual, Optimal, Error, Torque\n");
    EXPECT_EQ(1, ImportCaptureCsv(window_.Window(), path.c_str()));
    EXPECT_TRUE(data_->actualSeries[0].empty());
    EXPECT_EQ(0, data_->lastTest.points);
    EXPECT_FALSE(ShownAxisTested(data_));
}

// Export from the simulated controller, detune it, then download the file
// through the dialogs library: the tuning comes back.
TEST(CommandFileRoundTrip, ImportThroughTheDialogsRestoresTheGains)
{
    ASSERT_EQ(0, BindTavroApi());
    ASSERT_EQ(0, BindTavroDialogs());
    g_tavro.TavroDLG_Initialize();
    short handle = g_tavro.TavroOpen(0, TAVRO_OPEN_SHARED, "");
    ASSERT_GT(handle, 0);
    TavroControllerConfig config = {};
    config.size = 124;
    g_tavro.TavroGetConfigurationEx(handle, &config);
    ASSERT_GE(config.axisCount, 1);
    TavroMotionConfig motion = {};
    TavroFilterConfig filter = {};
    g_tavro.TavroGetMotionConfig(handle, 1, &motion);
    g_tavro.TavroGetFilterConfig(handle, 1, &filter);

    TempFolder folder;
    std::string path = folder.File("tuning.cmd");
    WriteTuningCommandFile(handle, path.c_str());
    ASSERT_NE(std::string::npos, ReadBytes(path).find("1SG"));

    TavroMotionConfig detunedMotion = motion;
    detunedMotion.proportionalGain = motion.proportionalGain + 3.0;
    detunedMotion.velocity = motion.velocity * 2.0 + 1.0;
    g_tavro.TavroSetMotionConfig(handle, 1, &detunedMotion);
    TavroFilterConfig detunedFilter = filter;
    detunedFilter.integralGain = filter.integralGain + 2.0;
    detunedFilter.derivativeGain = filter.derivativeGain + 5.0;
    g_tavro.TavroSetFilterConfig(handle, 1, &detunedFilter);

    TuningWindow window;
    DialogAnswerer answerer;
    g_tavro.TavroReopen(handle, 1);
    g_tavro.TavroDLG_DownloadFile(window.Window(), handle, 0, path.c_str());
    g_tavro.TavroReopen(handle, 1);
    EXPECT_EQ(0u, answerer.Count());

    TavroMotionConfig restoredMotion = {};
    TavroFilterConfig restoredFilter = {};
    g_tavro.TavroGetMotionConfig(handle, 1, &restoredMotion);
    g_tavro.TavroGetFilterConfig(handle, 1, &restoredFilter);
    double tolerance = (config.flags & TAVRO_CTRL_FRACTIONAL_GAINS) ? 1e-5 : 0.5;
    EXPECT_NEAR(motion.proportionalGain, restoredMotion.proportionalGain, tolerance);
    EXPECT_NEAR(motion.velocity, restoredMotion.velocity, tolerance);
    EXPECT_NEAR(filter.integralGain, restoredFilter.integralGain, tolerance);
    EXPECT_NEAR(filter.derivativeGain, restoredFilter.derivativeGain, tolerance);
    g_tavro.TavroClose(handle);
}

} // namespace
