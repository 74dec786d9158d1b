#include "WholeFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>

#include <unistd.h>

namespace tessaly {

namespace {

bool isPlainFileOrAbsent(const QString& path) {
    const QFileInfo info(path); // a link counts as what it points to
    return !info.exists() || info.isFile() || info.isDir();
}

bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool writeEveryByte(QFileDevice& file, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

QString writeFailureText(int errorNumber) {
    if (errorNumber == ENOSPC)
        return QCoreApplication::translate("WholeFile", "磁盘空间不足");
    if (errorNumber == EACCES || errorNumber == EPERM)
        return QCoreApplication::translate("WholeFile", "没有权限");
    if (errorNumber == EROFS)
        return QCoreApplication::translate("WholeFile", "文件系统只读");
    if (errorNumber == 0)
        return QCoreApplication::translate("WholeFile", "写入失败");
    return qt_error_string(errorNumber);
}

QString writeFailureText(const QFileDevice& file) {
    // Qt tells a full disk apart from other failures; the rest keep the system's words.
    return file.error() == QFileDevice::ResourceError ? writeFailureText(ENOSPC)
                                                      : file.errorString();
}

namespace {
QString accessProblem(const QString& path, int mode) {
    if (::access(QFile::encodeName(path).constData(), mode) == 0)
        return {};
    return writeFailureText(errno);
}
} // namespace

QString writeAccessProblem(const QString& path) {
    return accessProblem(path, W_OK);
}

QString readAccessProblem(const QString& path) {
    return accessProblem(path, R_OK);
}

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    if (!isPlainFileOrAbsent(path)) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
            !writeEveryByte(device, bytes))
            return fail(error, writeFailureText(device));
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, writeFailureText(file));
    // Renamed over the earlier file only when every byte went; otherwise the temporary one goes.
    if (!writeEveryByte(file, bytes) || !file.commit())
        return fail(error, writeFailureText(file));
    return true;
}

bool writeStandardOutput(const QByteArray& bytes, QString* error) {
    errno = 0;
    const std::size_t size = std::size_t(bytes.size());
    if (std::fwrite(bytes.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0 ||
        std::ferror(stdout))
        return fail(error, writeFailureText(errno));
    return true;
}

} // namespace tessaly
