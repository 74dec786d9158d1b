#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace tessaly::testing {

// The far end of a pseudo-terminal, standing in for a serial cable.
class PseudoTerminal {
public:
    PseudoTerminal() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        grantpt(m_master);
        unlockpt(m_master);
        m_device = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~PseudoTerminal() { ::close(m_master); }

    QString device() const { return m_device; }

    void write(const QByteArray& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), bytes.size());
    }

    QByteArray readAtLeast(int count) {
        QByteArray received;
        for (int attempt = 0; attempt < 100 && received.size() < count; ++attempt) {
            pollfd ready{m_master, POLLIN, 0};
            ::poll(&ready, 1, 10);
            char buffer[256];
            const auto n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                received.append(buffer, int(n));
        }
        return received;
    }

private:
    int m_master = -1;
    QString m_device;
};

} // namespace tessaly::testing
