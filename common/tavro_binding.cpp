// Binding of the two controller libraries into the process-wide table.
#include "tavro_binding.h"

#include <cstring>

TavroBindingTable g_tavro;

namespace {

// API names in binding order. The full list is used by the motion and tuning
// programs; the I/O panels use the short list, which ends four names earlier.
const char* const kApiNames[] = {
    "TavroAbort", "TavroArcCenter", "TavroBlockBegin", "TavroBlockEnd", "TavroCancelTask",
    "TavroCaptureData", "TavroClose", "TavroConfigureDigitalIO", "TavroContourDistance",
    "TavroContourPath", "TavroDecodeStatus", "TavroDirection", "TavroEnableAxis",
    "TavroEnableBacklash", "TavroEnableDigitalIO", "TavroEnableGearing", "TavroEnableJog",
    "TavroEnableSync", "TavroErrorNotify", "TavroFindEdge", "TavroFindIndex",
    "TavroGetAccelerationEx", "TavroGetAnalog", "TavroGetAuxEncIdxEx", "TavroGetAuxEncPosEx",
    "TavroGetBreakpointEx", "TavroGetCaptureData", "TavroGetConfiguration",
    "TavroGetContourConfig", "TavroGetContouringCount", "TavroGetDecelerationEx",
    "TavroGetError", "TavroGetDigitalIO", "TavroGetFilterConfig", "TavroGetFollowingError",
    "TavroGetGain", "TavroGetIndexEx", "TavroGetJogConfig", "TavroGetLimits",
    "TavroGetMotionConfig", "TavroGetOptimalEx", "TavroGetPositionEx", "TavroGetProfile",
    "TavroGetRegister", "TavroGetScale", "TavroGetServoOutputPhase", "TavroGetStatus",
    "TavroGetTargetEx", "TavroGetTorque", "TavroGetVectorVelocity", "TavroGetVelocityEx",
    "TavroGetVersion", "TavroGo", "TavroGoHome", "TavroLearnPoint", "TavroMacroCall",
    "TavroMoveAbsolute", "TavroMoveRelative", "TavroMoveToPoint", "TavroOpen", "TavroReopen",
    "TavroRepeat", "TavroReset", "TavroSetAcceleration", "TavroSetAnalog", "TavroSetAuxEncPos",
    "TavroSetContourConfig", "TavroSetDeceleration", "TavroSetFilterConfig", "TavroSetGain",
    "TavroSetJogConfig", "TavroSetLimits", "TavroSetModuleOutputMode", "TavroSetMotionConfig",
    "TavroSetOperatingMode", "TavroSetPosition", "TavroSetProfile", "TavroSetRegister",
    "TavroSetScale", "TavroSetServoOutputPhase", "TavroSetTimeoutEx", "TavroSetTorque",
    "TavroSetVectorVelocity", "TavroSetVelocity", "TavroStop", "TavroTranslateErrorEx",
    "TavroWait", "TavroWaitForDigitalIO", "TavroWaitForEdge", "TavroWaitForPosition",
    "TavroWaitForRelative", "TavroWaitForStop", "TavroWaitForTarget", "qorcmd", "qorgetc",
    "qorgetram", "qorgets", "qorputc", "qorputram", "qorputs", "qorrdy", "qorrpy",
    "TavroGetDigitalIOConfig", "TavroGoEx", "TavroTranslateErrorEx", "TavroArcEndAngle",
    "TavroArcRadius", "TavroFindAuxEncIdx", "TavroGetAuxEncIdxEx", "TavroIndexArm",
    "TavroIsAtTarget", "TavroIsStopped", "qorcmdex", "qorrpyex", "TavroGetAxisConfiguration",
    "TavroGetConfigurationEx", "TavroGetInstalledModules", "TavroConfigureCompare",
    "TavroEnableCapture", "TavroEnableCompare", "TavroEnableDigitalFilter", "TavroGetCount",
    "TavroGetDigitalFilter", "TavroIsDigitalFilter", "TavroSetDigitalFilter", "TavroEdgeArm",
    "TavroGetFilterConfigEx", "TavroGetModuleInputMode", "TavroGetMotionConfigEx",
    "TavroGetOperatingMode", "TavroIsEdgeFound", "TavroIsIndexFound", "TavroSetCommutation",
    "TavroSetFilterConfigEx", "TavroSetModuleInputMode", "TavroSetMotionConfigEx",
    "TavroWaitForIndex", "TavroDecodeStatusEx", "TavroEnableInterrupt", "TavroGetStatusEx",
    "TavroInterruptOnPosition", "TavroEnableEncoderFault", "TavroGetAnalogEx",
    "TavroGetVelocityActual", "TavroSetAnalogEx", "qorgetramex", "qorputramex",
    "TavroGetModuleOutputMode", "TavroGetVelocityOverride", "TavroSetVelocityOverride",
    "TavroGetDigitalIOEx",
};
const int kApiFullCount = 151;
const int kApiShortCount = 147;
static_assert(sizeof(kApiNames) / sizeof(kApiNames[0]) == kApiFullCount, "API list");

const char* const kDialogNames[] = {
    "TavroDLG_AboutBox", "TavroDLG_ConfigureAxis", "TavroDLG_ControllerDesc",
    "TavroDLG_ControllerInfo", "TavroDLG_DownloadFile", "TavroDLG_Initialize",
    "TavroDLG_ListControllers", "TavroDLG_ModuleDesc", "TavroDLG_RestoreAxis",
    "TavroDLG_RestoreDigitalIO", "TavroDLG_SaveAxis", "TavroDLG_SaveDigitalIO",
    "TavroDLG_Scaling", "TavroDLG_SelectController", "TavroDLG_CommandFileExt",
    "TavroDLG_ControllerDescEx", "TavroDLG_ModuleDescEx",
};
static_assert(sizeof(kDialogNames) / sizeof(kDialogNames[0]) == 17, "dialog list");

typedef void (*SlotSetter)(FARPROC proc);
struct Slot {
    const char* name;
    SlotSetter set;
};

#define TAVRO_SLOT(ret, name, params) \
    {#name, [](FARPROC p) { g_tavro.name = reinterpret_cast<name##_t>(reinterpret_cast<void*>(p)); }},
#define TAVRO_UNUSED_SLOT(name) TAVRO_SLOT(short, name, (short))
const Slot kSlots[] = {
    TAVRO_API_ENTRIES(TAVRO_SLOT, TAVRO_UNUSED_SLOT)
    TAVRO_DLG_ENTRIES(TAVRO_SLOT, TAVRO_UNUSED_SLOT)
};
#undef TAVRO_SLOT
#undef TAVRO_UNUSED_SLOT

const Slot* FindSlot(const char* name)
{
    for (const Slot& slot : kSlots)
        if (strcmp(slot.name, name) == 0)
            return &slot;
    return nullptr;
}

// Loads the library by bare name and binds each name in order; stops with 7
// at the first missing library or entry, leaving later slots untouched.
int BindList(const char* library, const char* const* names, int count)
{
    HMODULE module = LoadLibraryA(library);
    if (!module)
        return TAVRO_BIND_FAILED;
    for (int i = 0; i < count; ++i) {
        FARPROC proc = GetProcAddress(module, names[i]);
        const Slot* slot = FindSlot(names[i]);
        if (slot)
            slot->set(proc);
        if (!proc)
            return TAVRO_BIND_FAILED;
    }
    return 0;
}

} // namespace

int BindTavroApiList(TavroApiList list)
{
    return BindList("tavroapi64.dll", kApiNames,
                    list == TavroApiList::Short ? kApiShortCount : kApiFullCount);
}

int BindTavroDialogs()
{
    return BindList("tavrodlg64.dll", kDialogNames, 17);
}
