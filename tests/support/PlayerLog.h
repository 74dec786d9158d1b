#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

namespace tessaly::testing {

// One line of the simulated player's --log: when (ms on the player's clock) and what it
// received, as hex bytes ("FE 03 ...").
struct Heard {
    qint64 atMs;
    QString frame;
};

inline QList<Heard> heard(const QString& logFile) {
    QFile file(logFile);
    file.open(QIODevice::ReadOnly);
    QList<Heard> lines;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (const qsizetype space = line.indexOf(' '); space > 0)
            lines.append({line.left(space).toLongLong(), QString::fromLatin1(line.mid(space + 1))});
    return lines;
}

// When each program record frame arrived.
inline QList<qint64> recordTimes(const QList<Heard>& lines) {
    QList<qint64> times;
    for (const Heard& line : lines)
        if (line.frame.startsWith(QLatin1String("FE 03")))
            times.append(line.atMs);
    return times;
}

} // namespace tessaly::testing
