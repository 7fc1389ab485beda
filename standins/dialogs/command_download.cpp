// Download of a controller command file: lines "<axis><two letters><number>",
// comments from ';', blank lines, CR LF or LF ends. The gain, filter and
// motion commands are applied; any other line is counted and reported once.
// Each axis takes its settings whole or not at all: an axis whose settings
// the controller refuses keeps what it had, and is named in the report.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "exports.h"
#include "library.h"

namespace {

const char kCaption[] = "Download Command File";

// What the download changes on one axis, written once at the end.
struct PendingAxis {
    AxisSettings original;
    AxisSettings next;
    double servoPeriod; // seconds; 0 when unknown
};

const NamedDouble kMotionCommands[] = {{"SG", offsetof(TavroMotionConfig, proportionalGain)},
                                        {"SQ", offsetof(TavroMotionConfig, maxTorque)},
                                        {"SV", offsetof(TavroMotionConfig, velocity)},
                                        {"SA", offsetof(TavroMotionConfig, acceleration)},
                                        {"DS", offsetof(TavroMotionConfig, deceleration)}};
const NamedDouble kFilterCommands[] = {{"SI", offsetof(TavroFilterConfig, integralGain)},
                                        {"SD", offsetof(TavroFilterConfig, derivativeGain)},
                                        {"IL", offsetof(TavroFilterConfig, integrationLimit)},
                                        {"VG", offsetof(TavroFilterConfig, velocityGain)},
                                        {"SE", offsetof(TavroFilterConfig, maxFollowingError)}};

struct Command {
    short axis;
    char name[3];
    double value;
};

struct Download {
    short handle;
    TavroControllerConfig config;
    std::map<short, PendingAxis> axes;
    int skipped;
    int firstSkippedLine;
    std::string firstSkippedText;
    std::string refusedAxes; // "2, 5"
    short refusal;           // first refusal code, TAVRO_OK when none
};

std::string Trim(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return "";
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

bool ParseCommand(const std::string& text, Command* command)
{
    const char* p = text.c_str();
    if (!isdigit(static_cast<unsigned char>(*p)))
        return false;
    long axis = 0;
    while (isdigit(static_cast<unsigned char>(*p))) {
        axis = axis * 10 + (*p++ - '0');
        if (axis > 32767)
            return false;
    }
    if (!isalpha(static_cast<unsigned char>(p[0])) || !isalpha(static_cast<unsigned char>(p[1])))
        return false;
    command->axis = static_cast<short>(axis);
    command->name[0] = static_cast<char>(toupper(static_cast<unsigned char>(p[0])));
    command->name[1] = static_cast<char>(toupper(static_cast<unsigned char>(p[1])));
    command->name[2] = '\0';
    p += 2;
    char* end = nullptr;
    command->value = strtod(p, &end);
    if (end == p || !std::isfinite(command->value))
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    // The whole text, so a NUL byte does not end the line early.
    return end == text.c_str() + text.size();
}

double ServoPeriod(const Download& download, short axis, const TavroMotionConfig& motion)
{
    if (download.config.controllerType == 8)
        return download.config.axisCount * 0.001;
    TavroAxisConfig config = {};
    config.size = sizeof config;
    if (TavroGetAxisConfiguration(download.handle, axis, &config) != TAVRO_OK)
        return 0.0;
    switch (motion.updateRate) {
    case TAVRO_RATE_LOW:
        return config.samplePeriodLow;
    case TAVRO_RATE_MED:
        return config.samplePeriodMed;
    case TAVRO_RATE_HIGH:
        return config.samplePeriodHigh;
    }
    return 0.0;
}

// The pending record of an axis, read from the controller at its first use.
PendingAxis* AxisOf(Download* download, short axis)
{
    if (axis < 1 || axis > download->config.axisCount)
        return nullptr;
    auto found = download->axes.find(axis);
    if (found != download->axes.end())
        return &found->second;
    PendingAxis pending = {};
    if (ReadAxisSettings(download->handle, axis, &pending.original) != TAVRO_OK)
        return nullptr;
    pending.next = pending.original;
    pending.servoPeriod = ServoPeriod(*download, axis, pending.original.motion);
    return &download->axes.emplace(axis, pending).first->second;
}

// Sets the field that `name` commands in `record`; false when it names none.
template <size_t N>
bool SetNamedDouble(const NamedDouble (&fields)[N], const char* name, void* record, double value)
{
    for (const NamedDouble& field : fields) {
        if (!strcmp(field.name, name)) {
            SetRecordDouble(record, field.offset, value);
            return true;
        }
    }
    return false;
}

// FR n: the derivative is taken every n + 1 servo periods. An export writes
// -1 for a derivative period shorter than one servo period, which works as
// every servo period.
bool ApplySamplingPeriod(PendingAxis* axis, double value)
{
    if (!axis->next.hasFilter || axis->servoPeriod <= 0.0 || value < -1.0 || value != std::floor(value))
        return false;
    axis->next.filter.derivativePeriod = (value < 0.0 ? 1.0 : value + 1.0) * axis->servoPeriod;
    return true;
}

bool ApplyCommand(Download* download, const Command& command)
{
    PendingAxis* axis = AxisOf(download, command.axis);
    if (!axis)
        return false;
    if (SetNamedDouble(kMotionCommands, command.name, &axis->next.motion, command.value))
        return true;
    if (!strcmp(command.name, "FR"))
        return ApplySamplingPeriod(axis, command.value);
    return axis->next.hasFilter &&
           SetNamedDouble(kFilterCommands, command.name, &axis->next.filter, command.value);
}

// One line of the file without its end: LF, CR LF or a lone CR.
bool ReadLine(std::istream& file, std::string* line)
{
    line->clear();
    int c = file.get();
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = file.get()) {
        if (c == '\r') {
            if (file.peek() == '\n')
                file.get();
            break;
        }
        line->push_back(static_cast<char>(c));
    }
    return true;
}

void ApplyLine(Download* download, int lineNumber, const std::string& raw)
{
    std::string line = raw.substr(0, raw.find(';'));
    line = Trim(line);
    if (line.empty())
        return;
    Command command;
    if (ParseCommand(line, &command) && ApplyCommand(download, command))
        return;
    if (download->skipped++ == 0) {
        download->firstSkippedLine = lineNumber;
        download->firstSkippedText = line.substr(0, 60);
    }
}

void WritePending(Download* download)
{
    for (const auto& entry : download->axes) {
        const PendingAxis& pending = entry.second;
        short status = WriteAxisSettings(download->handle, entry.first, pending.original, pending.next);
        if (status == TAVRO_OK)
            continue;
        if (download->refusal == TAVRO_OK)
            download->refusal = status;
        if (!download->refusedAxes.empty())
            download->refusedAxes += ", ";
        download->refusedAxes += std::to_string(entry.first);
    }
}

void Report(HWND owner, const Download& download)
{
    std::string text;
    if (download.refusal != TAVRO_OK) {
        char error[128];
        ErrorText(download.refusal, error, sizeof error);
        text = "The controller refused the command file's settings for axis " + download.refusedAxes +
               ", which keeps its previous settings.\n" + error;
    }
    if (download.skipped > 0) {
        char skipped[256];
        snprintf(skipped, sizeof skipped,
                 "%d line(s) of the command file were not applied: unknown commands, axes this "
                 "controller lacks, or lines that are not commands.\n\nFirst at line %d: ",
                 download.skipped, download.firstSkippedLine);
        if (!text.empty())
            text += "\n\n";
        text += skipped + download.firstSkippedText;
    }
    MessageBoxA(owner, text.c_str(), kCaption,
                MB_OK | (download.refusal != TAVRO_OK ? MB_ICONERROR : MB_ICONWARNING));
}

} // namespace

// 0 when every line was applied, the number of lines skipped otherwise, a
// negative code when nothing could be downloaded or an axis refused its
// settings.
extern "C" short TavroDLG_DownloadFile(HWND owner, short handle, long /*flags*/, const char* path)
{
    if (owner && !IsWindow(owner))
        owner = nullptr;
    Download download = {handle, {}, {}, 0, 0, "", "", TAVRO_OK};
    short controllerId = -1;
    if (ReadControllerOfHandle(handle, &controllerId, &download.config) != TAVRO_OK) {
        MessageBoxA(owner, "No controller is open; the command file was not downloaded.", kCaption,
                    MB_OK | MB_ICONERROR);
        return TAVRO_ERR_BAD_HANDLE;
    }
    std::ifstream file(path ? path : "", std::ios::binary);
    if (!path || !path[0] || !file) {
        char text[MAX_PATH + 80];
        snprintf(text, sizeof text, "The command file \"%s\" cannot be opened.", path ? path : "");
        MessageBoxA(owner, text, kCaption, MB_OK | MB_ICONERROR);
        return TAVRO_ERR_BAD_ARGUMENT;
    }

    std::string line;
    int lineNumber = 0;
    while (ReadLine(file, &line))
        ApplyLine(&download, ++lineNumber, line);

    WritePending(&download);
    if (download.refusal != TAVRO_OK || download.skipped > 0)
        Report(owner, download);
    if (download.refusal != TAVRO_OK)
        return download.refusal;
    return static_cast<short>(download.skipped > 32767 ? 32767 : download.skipped);
}
