// Entry point of the servo tuning program.
#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    if (!previous && !RegisterWindowClasses(instance)) {
        MessageBoxA(nullptr, "Unable to register window classes. Program terminating.",
                    PROGRAM_TITLE, MB_ICONERROR);
        return 0;
    }
    HWND window = CreateMainWindow(instance, showCommand, commandLine);
    if (!window)
        return 0;
    HACCEL accelerators = LoadAcceleratorsA(instance, "Tuning");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
