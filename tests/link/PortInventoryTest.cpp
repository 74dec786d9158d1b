#include "PortInventory.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tessaly;

TEST(PortInventory, EachComShowsItsDeviceAndTheAdapterBehindIt) {
    const PortMap map({{5, "/dev/pts/7"}, {6, "rfc2217://10.0.0.7:7003"}},
                      {"/dev/ttyS0", "/dev/ttyUSB0"});
    const QList<SerialAdapter> adapters{
        {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001},
        {"/dev/ttyS0", "", "", std::nullopt, std::nullopt},
    };
    const auto entries = listPorts(map, adapters);
    ASSERT_EQ(entries.size(), 20);
    EXPECT_EQ(entries[0].device, "/dev/ttyUSB0");
    EXPECT_EQ(entries[0].description, "FT232R USB UART");
    EXPECT_EQ(entries[0].manufacturer, "FTDI");
    EXPECT_EQ(entries[0].usbId, "0403:6001");
    EXPECT_EQ(entries[1].device, "/dev/ttyS0");
    EXPECT_EQ(entries[1].usbId, "");
    EXPECT_EQ(entries[4].device, "/dev/pts/7"); // named by TESSALY_COM5: no adapter known
    EXPECT_EQ(entries[4].description, "");
    EXPECT_EQ(entries[5].device, "rfc2217://10.0.0.7:7003");
    EXPECT_EQ(entries[5].description, "网络");
    EXPECT_EQ(entries[2].device, "");
}

// Every column starts at the same place on a terminal, the wide "（无设备）" included.
TEST(PortInventory, LinesAreAlignedInColumns) {
    const QList<PortEntry> entries{
        {1, "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "0403:6001"},
        {2, "", "", "", ""},
        {3, "rfc2217://10.0.0.7:7003", "网络", "", ""},
        {10, "/dev/ttyS0", "", "", ""},
    };
    const QStringList lines = alignedPortLines(entries);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "COM1   /dev/ttyUSB0             FT232R USB UART  FTDI  0403:6001");
    EXPECT_EQ(lines[1], "COM2   （无设备）");
    EXPECT_EQ(lines[2], "COM3   rfc2217://10.0.0.7:7003  网络");
    EXPECT_EQ(lines[3], "COM10  /dev/ttyS0");
}
