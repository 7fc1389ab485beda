// Ambrel: moves the axes of a motion controller.
#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!RegisterWindowClasses(instance))
        return 0;
    HWND window = CreateMainWindow(instance);
    if (!window)
        return 0;
    HACCEL accelerators = LoadAcceleratorsA(instance, "Accelerators");
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
