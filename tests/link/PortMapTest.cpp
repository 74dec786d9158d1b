#include "PortMap.h"
#include "NetworkPortSettings.h"
#include "NetworkTarget.h"

#include "MachineSettings.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

NetworkTarget target(const QString& url) {
    const auto parsed = parseNetworkTarget(url);
    EXPECT_TRUE(parsed.has_value()) << url.toStdString();
    return parsed.value_or(NetworkTarget{});
}

void store(int com, const QString& url) {
    QString error;
    ASSERT_TRUE(storeNetworkTarget(com, target(url), &error)) << error.toStdString();
}

} // namespace

TEST(PortMap, PresentDevicesInStableOrder) {
    const FreshMachineSettings none;
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
    const FreshMachineSettings none;
    qputenv("TESSALY_COM7", "/dev/pts/42");
    const auto map = PortMap::fromSystem();
    qunsetenv("TESSALY_COM7");
    EXPECT_EQ(map.deviceFor(7), "/dev/pts/42");
}

// TESSALY_COM<n> over the target stored on this machine over the devices present; a target
// stored after the map was made is used at once, and a cleared one gives its COM back.
TEST(PortMap, StoredNetworkTargetStandsBetweenEnvironmentAndPresentDevices) {
    const FreshMachineSettings settings;
    qputenv("TESSALY_COM3", "/dev/pts/42");
    const auto map = PortMap::fromSystem();
    qunsetenv("TESSALY_COM3");
    const PortMap present({}, {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2"});

    store(2, "rfc2217://10.0.0.7:7003");
    store(3, "socket://plc.local:4001");
    store(20, "SOCKET://[::1]:7000");
    EXPECT_EQ(map.deviceFor(2), "rfc2217://10.0.0.7:7003");
    EXPECT_EQ(map.deviceFor(3), "/dev/pts/42");
    EXPECT_EQ(map.deviceFor(20), "socket://[::1]:7000");
    EXPECT_EQ(present.deviceFor(1), "/dev/ttyUSB0");
    EXPECT_EQ(present.deviceFor(2), "rfc2217://10.0.0.7:7003");
    EXPECT_EQ(present.deviceFor(3), "socket://plc.local:4001");

    QString error;
    ASSERT_TRUE(clearNetworkTarget(2, &error)) << error.toStdString();
    ASSERT_TRUE(clearNetworkTarget(4, &error)) << "clearing none is no failure";
    EXPECT_EQ(present.deviceFor(2), "/dev/ttyUSB1");
    EXPECT_EQ(storedNetworkTarget(2), "");
}

// The target is in the user's configuration file, where a later run finds it.
TEST(PortMap, StoredTargetLivesInTheUsersConfiguration) {
    const FreshMachineSettings settings;
    store(5, "rfc2217://10.0.0.7:7003");
    QSettings file(settings.file(), QSettings::IniFormat);
    EXPECT_EQ(file.value("NetworkPorts/COM5").toString(), "rfc2217://10.0.0.7:7003");
    file.setValue("NetworkPorts/COM6", "socket://10.0.0.8:4001"); // as another run left it
    file.sync();
    EXPECT_EQ(PortMap().deviceFor(6), "socket://10.0.0.8:4001");
}

// A configuration that cannot be written is said, and this run goes on with the targets as
// they were rather than with one that no later run will find.
TEST(PortMap, UnwritableConfigurationLeavesTheTargetsAsTheyWere) {
    const FreshMachineSettings settings;
    store(5, "rfc2217://10.0.0.7:7003");
    FreshMachineSettings::pointAt(settings.file() + "/under-a-file"); // no folder can be made
    QString error;
    EXPECT_FALSE(storeNetworkTarget(5, target("socket://10.0.0.9:1"), &error));
    EXPECT_TRUE(error.contains("under-a-file")) << error.toStdString();
    EXPECT_EQ(storedNetworkTarget(5), "");
    FreshMachineSettings::pointAt(settings.folder());
    EXPECT_EQ(storedNetworkTarget(5), "rfc2217://10.0.0.7:7003");
}

// A configuration spoiled by hand (bytes that are no settings at all) is written anew: the
// target is kept and the store says so, instead of failing over a write that happened.
TEST(PortMap, AMalformedConfigurationIsWrittenAnew) {
    const FreshMachineSettings settings;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settings.file()).path()));
    QFile file(settings.file());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xff\xfe garbage [[[\n[NetworkPorts]\nCOM4=socket://10.0.0.8:4001\n");
    file.close();
    QString error;
    EXPECT_TRUE(storeNetworkTarget(5, target("socket://10.0.0.9:1"), &error))
        << error.toStdString();
    EXPECT_EQ(storedNetworkTarget(5), "socket://10.0.0.9:1");
    EXPECT_EQ(storedNetworkTarget(4), "socket://10.0.0.8:4001");
}
