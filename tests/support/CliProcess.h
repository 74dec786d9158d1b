#pragma once

#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tessaly::testing {

// What one run of tessaly-cli left behind.
struct CliRun {
    int exitCode = -1;
    QString out; // standard output
    QString err; // standard error
};

// Runs tessaly-cli (`executable`) to its end, with `environment` added to the test's own (an
// empty value removes the variable).
inline CliRun runCli(const QString& executable, const QStringList& arguments,
                     const QMap<QString, QString>& environment = {}, int timeoutMs = 60000) {
    QProcess process;
    auto env = QProcessEnvironment::systemEnvironment();
    for (auto it = environment.begin(); it != environment.end(); ++it) {
        if (it.value().isEmpty())
            env.remove(it.key());
        else
            env.insert(it.key(), it.value());
    }
    process.setProcessEnvironment(env);
    process.start(executable, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, QStringLiteral("tessaly-cli did not end in time")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace tessaly::testing
