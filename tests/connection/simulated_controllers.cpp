#include "simulated_controllers.h"

#include <gtest/gtest.h>

namespace {

// The first controller that `wanted` accepts; id -1 when none.
template <typename Predicate>
TavroSimControllerInfo FindController(Predicate wanted)
{
    TavroSimControllerInfo info = {};
    for (int i = 0; i < TavroSim_ControllerCount(); ++i) {
        if (TavroSim_ControllerAt(i, &info) == 0 && wanted(info))
            return info;
    }
    info.id = -1;
    return info;
}

} // namespace

TavroSimControllerInfo SimulatedControllerOfType(int type)
{
    const TavroSimControllerInfo info = FindController(
        [type](const TavroSimControllerInfo& c) { return c.controllerType == type && c.openError == 0; });
    if (info.id < 0)
        ADD_FAILURE() << "no simulated controller of type " << type;
    return info;
}

short SimulatedFailingController()
{
    const TavroSimControllerInfo info =
        FindController([](const TavroSimControllerInfo& c) { return c.openError != 0; });
    if (info.id < 0)
        ADD_FAILURE() << "no simulated controller that fails to open";
    return info.id;
}

void AnswerControllerChoice(testing_support::DialogAnswerer& answerer, short id)
{
    answerer.Expect(IDOK, [id](HWND dialog) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const int count = static_cast<int>(SendMessageA(child, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                if (static_cast<short>(SendMessageA(child, LB_GETITEMDATA, i, 0)) == id)
                    SendMessageA(child, LB_SETCURSEL, i, 0);
            }
        }
    });
}
