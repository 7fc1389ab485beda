// Reader of drevalon.conf and the ControllerTraits it fills.
#include "controller_traits.h"

#include <cstdio>
#include <cstring>

#include "ini_file.h"
#include "strict_ini.h"
#include "tavro_binding.h"

namespace {

const char kGeneralSection[] = "General";
const char kRequiredVersion[] = "1.2";
const int kMinBits = 1;
const int kMaxBits = 30;

bool IsResolution(int bits)
{
    return bits >= kMinBits && bits <= kMaxBits;
}

int ReadConfBits(const char* section, const char* key, const char* path)
{
    const int bits = static_cast<int>(GetPrivateProfileIntA(section, key, 8, path));
    return IsResolution(bits) ? bits : 8;
}

int ReadConfScale(const char* section, const char* key, const char* path)
{
    const int scale = static_cast<int>(GetPrivateProfileIntA(section, key, 8, path));
    return scale > 0 ? scale : 8;
}

// A range from the file; an empty or inverted one gives the defaults.
void ReadConfRange(const char* section, const char* maxKey, const char* minKey, double* max,
                   double* min, const char* path)
{
    *max = ReadIniFiniteDouble(section, maxKey, 5.0, path);
    *min = ReadIniFiniteDouble(section, minKey, 0.0, path);
    if (!(*max > *min)) {
        *max = 5.0;
        *min = 0.0;
    }
}

} // namespace

int ReadControllerTraits(ControllerTraits* traits, short handle, const char* confPath)
{
    TavroControllerConfig config;
    memset(&config, 0, sizeof config);
    config.size = sizeof config;
    if (handle < 0)
        traits->controllerType = -handle;
    else {
        g_tavro.TavroGetConfigurationEx(handle, &config);
        traits->controllerType = config.controllerType;
    }
    const int type = traits->controllerType;

    char description[64] = "";
    g_tavro.TavroDLG_ControllerDescEx(type, 1, description, sizeof description);
    description[sizeof description - 1] = '\0';
    traits->description = description;

    char version[64];
    if (!ReadIniTrimmedText(kGeneralSection, "Version", version, sizeof version, confPath))
        return CONF_NOT_FOUND;
    if (strcmp(version, kRequiredVersion) < 0)
        return CONF_OUT_OF_DATE;

    char section[32];
    snprintf(section, sizeof section, "Type%d", type);
    if (static_cast<int>(GetPrivateProfileIntA(section, "TavroAPIType", 0, confPath)) != type)
        return CONF_NO_TYPE;

    traits->modular = ReadIniBool(section, "Modular", true, confPath);

    if (IsResolution(config.analogInBits) && config.analogInMax > config.analogInMin) {
        traits->inputBits = config.analogInBits;
        traits->inputMax = config.analogInMax;
        traits->inputMin = config.analogInMin;
    } else {
        ReadConfRange(section, "AnalogInpMax", "AnalogInpMin", &traits->inputMax, &traits->inputMin,
                      confPath);
        traits->inputBits = ReadConfBits(section, "AnalogInpBits", confPath);
    }
    traits->inputScale = ReadConfScale(section, "AnalogInpScale", confPath);

    if (IsResolution(config.analogOutBits) && config.analogOutMax > config.analogOutMin) {
        traits->outputBits = config.analogOutBits;
        traits->outputMax = config.analogOutMax;
        traits->outputMin = config.analogOutMin;
    } else {
        traits->outputBits = ReadConfBits(section, "AnalogOutBits", confPath);
        ReadConfRange(section, "AnalogOutMax", "AnalogOutMin", &traits->outputMax,
                      &traits->outputMin, confPath);
    }
    traits->outputScale = ReadConfScale(section, "AnalogOutScale", confPath);
    return CONF_OK;
}

const char* ConfErrorText(int status)
{
    static const char* const kTexts[] = {
        "No error",
        "The drevalon.conf configuration file was not found, try reinstalling Drevalon.",
        "A newer version of drevalon.conf is required for this version of Drevalon.",
        "Controller model not supported, try updating Drevalon.",
    };
    if (status < CONF_OK || status > CONF_NO_TYPE)
        return "Unknown configuration error";
    return kTexts[status];
}
