// Entry point of the plot window library and registration of its window class.
#include "library.h"
#include "plot_window.h"

namespace {
// Set once on process attach; read-only afterwards.
HINSTANCE g_libraryInstance = nullptr;
} // namespace

HINSTANCE LibraryInstance()
{
    return g_libraryInstance;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_libraryInstance = instance;
    return TRUE;
}

ATOM WINAPI LumoInitialize(HINSTANCE instance)
{
    ResetSharedCustomColors();
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = PlotWndProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = PLOT_WINDOW_CLASS;
    return RegisterClassExA(&windowClass);
}
