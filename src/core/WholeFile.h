#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace tessaly {

// Writes `bytes` to `path` whole or not at all: into a temporary file beside it, renamed over
// it only once every byte has been written, so that a full disk or a killed write leaves an
// earlier file as it was. A device or a pipe that is already there (/dev/stdout, a FIFO) is
// written in place, since a rename would replace it with a plain file. False, with the reason
// in `error`, when any byte did not go.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error);

// Every byte of `bytes` to standard output, flushed; false, with the reason in `error`, when
// standard output did not take them all.
bool writeStandardOutput(const QByteArray& bytes, QString* error);

// Every byte of `bytes` into a file opened unbuffered: false when one did not go. A short
// write is followed by another, which reports the cause (a full disk first takes what fits).
bool writeEveryByte(QFileDevice& file, const QByteArray& bytes);

// Why a write failed, in the reader's language: a full disk reads "磁盘空间不足", a refused
// permission "没有权限", a read-only file system "文件系统只读", anything else as the system words
// it. From an errno, or from the file that failed.
QString writeFailureText(int errorNumber);
QString writeFailureText(const QFileDevice& file);

// Why the running user cannot write (or read) the file or folder at `path`, in the words of
// writeFailureText; empty when they can.
QString writeAccessProblem(const QString& path);
QString readAccessProblem(const QString& path);

} // namespace tessaly
