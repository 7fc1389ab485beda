#include "connection_fixture.h"

#include "tavro_binding.h"

void ConnectionTest::SetUp()
{
    ASSERT_EQ(BindTavroApi(), 0);
    ASSERT_EQ(BindTavroDialogs(), 0);
    ASSERT_EQ(TavroSim_Reload(nullptr), 0);
    TavroSim_ResetCallCounts();
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
