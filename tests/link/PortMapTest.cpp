#include "PortMap.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tessaly;

TEST(PortMap, PresentDevicesInStableOrder) {
    const QStringList present{"/dev/ttyS1", "/dev/ttyACM0", "/dev/ttyUSB10", "/dev/ttyS0",
                              "/dev/ttyUSB2"};
    EXPECT_EQ(
        PortMap::orderedDevices(present),
        (QStringList{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1"}));

    const PortMap map({{2, "/dev/pts/7"}}, present);
    const std::vector<std::pair<int, QString>> cases{
        {1, "/dev/ttyUSB2"}, {2, "/dev/pts/7"}, // explicit wins, the others keep their places
        {3, "/dev/ttyACM0"}, {5, "/dev/ttyS1"}, {6, ""}, {0, ""}, {21, ""}, {-1, ""},
    };
    for (const auto& [com, device] : cases)
        EXPECT_EQ(map.deviceFor(com), device) << com;
}

TEST(PortMap, EnvironmentNamesTheDeviceOfACom) {
    qputenv("TESSALY_COM7", "/dev/pts/42");
    const auto map = PortMap::fromSystem();
    qunsetenv("TESSALY_COM7");
    EXPECT_EQ(map.deviceFor(7), "/dev/pts/42");
}
