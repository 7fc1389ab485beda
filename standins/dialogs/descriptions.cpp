// Texts of controller and module type codes, and the command-file extension.
#include <cstdio>

#include "exports.h"
#include "library.h"

namespace {

struct TypeText {
    long code;
    const char* text;
};

const TypeText kControllerTypes[] = {
    {1, "Modular Servo Controller"},
    {2, "Large Modular Servo Controller"},
    {3, "Digital I/O Controller"},
    {4, "Analog I/O Controller"},
    {5, "Compact Servo Controller"},
    {8, "Embedded Servo Controller"},
    {9, "Extended Servo Controller"},
};

const TypeText kModuleTypes[] = {
    {0, "Servo"},
    {1, "Servo"},
    {2, "Brushless Servo"},
    {3, "Dual Servo"},
    {4, "Stepper"},
    {5, "Microstep Stepper"},
    {6, "Closed-Loop Stepper"},
    {7, "Stepper Driver"},
    {8, "Velocity Servo"},
    {12, "Analog I/O"},
    {15, "Empty Slot"},
};

const char* FindText(const TypeText* table, size_t count, long code)
{
    for (size_t i = 0; i < count; ++i) {
        if (table[i].code == code)
            return table[i].text;
    }
    return nullptr;
}

// Copies as much of `text` as fits, always terminated.
short CopyCut(const char* text, char* buffer, long size)
{
    if (!buffer || size <= 0)
        return TAVRO_ERR_BAD_ARGUMENT;
    snprintf(buffer, static_cast<size_t>(size), "%s", text);
    return TAVRO_OK;
}

} // namespace

void ControllerTypeText(long type, char* buffer, size_t size)
{
    const char* text = FindText(kControllerTypes, sizeof kControllerTypes / sizeof kControllerTypes[0], type);
    if (text)
        snprintf(buffer, size, "%s", text);
    else
        snprintf(buffer, size, "Unknown Controller (type %ld)", type);
}

void ModuleTypeText(long type, char* buffer, size_t size)
{
    const char* text = FindText(kModuleTypes, sizeof kModuleTypes / sizeof kModuleTypes[0], type);
    if (text)
        snprintf(buffer, size, "%s", text);
    else
        snprintf(buffer, size, "Unknown (type %ld)", type);
}

// The flags select no other form: every style gets the same text.
extern "C" short TavroDLG_ControllerDescEx(long type, long /*flags*/, char* buffer, long size)
{
    char text[128];
    ControllerTypeText(type, text, sizeof text);
    return CopyCut(text, buffer, size);
}

extern "C" short TavroDLG_ModuleDescEx(long type, long /*flags*/, char* buffer, long size)
{
    char text[128];
    ModuleTypeText(type, text, sizeof text);
    return CopyCut(text, buffer, size);
}

extern "C" short TavroDLG_ControllerDesc(long type, char* buffer, long size)
{
    return TavroDLG_ControllerDescEx(type, 1, buffer, size);
}

extern "C" short TavroDLG_ModuleDesc(long type, char* buffer, long size)
{
    return TavroDLG_ModuleDescEx(type, 1, buffer, size);
}

// Every controller family reads the same command language.
extern "C" short TavroDLG_CommandFileExt(long /*type*/, long /*flags*/, char* buffer, long size)
{
    return CopyCut("tcl", buffer, size);
}
