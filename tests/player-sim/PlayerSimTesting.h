#pragma once

#include "SimulatedSerialLink.h"
#include "VirtualClock.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace tessaly::testing {

inline QByteArray hex(const QByteArray& bytes) {
    return bytes.toHex(' ').toUpper();
}

// A player on COM1 with the line already set, driven in virtual time.
class PlayerOnLine : public ::testing::Test {
protected:
    static constexpr int Port = 1;

    void SetUp() override { openLine(); }

    void openLine() {
        ASSERT_EQ(link.open(Port), 0);
        ASSERT_EQ(link.ioctl(Port, SerialLink::Baud9600, SerialLink::Mode8N1), 0);
    }

    void setOptions(const PlayerOptions& options) { link.player().setOptions(options); }

    // `text` is hex, spaces allowed: "FE 01 00 FF".
    void send(const char* text) { sendBytes(QByteArray::fromHex(text)); }

    void sendBytes(const QByteArray& bytes) {
        ASSERT_EQ(
            link.write(Port, reinterpret_cast<const quint8*>(bytes.constData()), int(bytes.size())),
            bytes.size());
    }

    // Everything the player has put on the line by now, as upper-case hex.
    QByteArray readAll() {
        QByteArray got;
        std::array<quint8, 256> buffer{};
        for (int count; (count = link.read(Port, buffer.data(), int(buffer.size()))) > 0;)
            got.append(reinterpret_cast<const char*>(buffer.data()), count);
        return hex(got);
    }

    QByteArray readAfter(qint64 milliseconds) {
        clock.advance(milliseconds);
        return readAll();
    }

    VirtualClock clock;
    SimulatedSerialLink link{clock};
};

} // namespace tessaly::testing
