// Sorvik, the digital I/O test panel: entry point and message loop.
#include <windows.h>

#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand)
{
    if (!previousInstance && !RegisterWindowClasses(instance)) {
        MessageBoxA(nullptr, "Unable to register window classes. Program terminating.", kMainWindowClass,
                    MB_ICONERROR);
        return 0;
    }
    if (!CreateMainWindow(instance, showCommand, commandLine))
        return 0;

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
