#include "connection_fixture.h"

#include "tavro_binding.h"

void ConnectionTest::SetUp()
{
    ASSERT_EQ(BindTavroApi(), 0);
    ASSERT_EQ(BindTavroDialogs(), 0);
    ASSERT_EQ(TavroSim_Reload(nullptr), 0);
    TavroSim_ResetCallCounts();
}

bool ConnectionTest::FindController(bool (*match)(const TavroSimControllerInfo&),
                                    TavroSimControllerInfo* info)
{
    const int count = TavroSim_ControllerCount();
    for (int i = 0; i < count; ++i) {
        if (TavroSim_ControllerAt(i, info) == 0 && match(*info))
            return true;
    }
    return false;
}

short ConnectionTest::IdOfType(int type)
{
    const int count = TavroSim_ControllerCount();
    for (int i = 0; i < count; ++i) {
        TavroSimControllerInfo info = {};
        if (TavroSim_ControllerAt(i, &info) == 0 && info.controllerType == type && info.openError == 0)
            return info.id;
    }
    ADD_FAILURE() << "no simulated controller of type " << type;
    return -1;
}

short ConnectionTest::FailingId()
{
    TavroSimControllerInfo info = {};
    if (FindController([](const TavroSimControllerInfo& c) { return c.openError != 0; }, &info))
        return info.id;
    ADD_FAILURE() << "no simulated controller that fails to open";
    return -1;
}

std::string ConfText(const std::string& version, const std::string& sections)
{
    return "[General]\r\nVersion=" + version + "\r\n\r\n" + sections;
}

std::string TypeSection(int type, const std::string& extraKeys)
{
    return "[Type" + std::to_string(type) + "]\r\nTavroAPIType=" + std::to_string(type) + "\r\n" +
           extraKeys + "\r\n";
}
