#include "connection_fixture.h"

#include "tavro_binding.h"

void ConnectionTest::SetUp()
{
    ASSERT_EQ(BindTavroApi(), 0);
    ASSERT_EQ(BindTavroDialogs(), 0);
    ASSERT_EQ(TavroSim_Reload(nullptr), 0);
    TavroSim_ResetCallCounts();
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
    const int count = TavroSim_ControllerCount();
    for (int i = 0; i < count; ++i) {
        TavroSimControllerInfo info = {};
        if (TavroSim_ControllerAt(i, &info) == 0 && info.openError != 0)
            return info.id;
    }
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
