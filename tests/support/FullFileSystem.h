#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <sys/mount.h>
#include <sys/statvfs.h>

namespace tessaly::testing {

// A real full disk: a small tmpfs mounted over `folder` and, after fill(), full to the last
// byte, so that a write fails as it does on a full disk (ENOSPC). Mounting needs root, as the
// tests run in CI; elsewhere mounted() is false and the test skips itself.
class FullFileSystem {
public:
    explicit FullFileSystem(const QString& folder) : m_folder(folder) {
        QDir().mkpath(folder);
        m_mounted = ::mount("tessaly-test", QFile::encodeName(folder).constData(), "tmpfs", 0,
                            "size=256k") == 0;
    }
    ~FullFileSystem() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    FullFileSystem(const FullFileSystem&) = delete;
    FullFileSystem& operator=(const FullFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    QString filePath(const QString& name) const { return QDir(m_folder).filePath(name); }

    // Takes all but about `left` bytes of what is left.
    void fillLeaving(qint64 left) const {
        struct statvfs status {};
        if (::statvfs(QFile::encodeName(m_folder).constData(), &status) != 0)
            return;
        const qint64 free = qint64(status.f_bavail) * qint64(status.f_frsize);
        QFile filler(filePath(QStringLiteral("filler-part")));
        if (free > left && filler.open(QIODevice::WriteOnly))
            filler.write(QByteArray(free - left, 'x'));
    }

    // Takes every byte that is left.
    void fill() const {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write(block.left(1)) == 1) {
        }
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

} // namespace tessaly::testing
