#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

class QSqlQuery;

namespace tessaly {

// The settings the program keeps in the one row of SysTab.
struct Settings {
    int Com = 1;   // serial port number
    int JM1YR = 0; // preheat
    int JM1YS = 0; // delay

    bool operator==(const Settings&) const = default;
};

// Reads and updates the settings row. The row comes with the database and is only ever
// updated: a database without it is reported, never repaired.
class SettingsStore {
public:
    explicit SettingsStore(const QSqlDatabase& db) : m_db(db) {}

    // Nothing when there is no settings row or it cannot be read.
    std::optional<Settings> readSettings(QString* error = nullptr) const;

    // False when nothing was saved: no settings row, or the update failed.
    bool writePort(int com, QString* error = nullptr);
    // Also clears the spare columns, which the player does not use.
    bool writePreheatDelay(int preheat, int delay, QString* error = nullptr);
    // Only JM1YR and JM1YS; the spare columns keep what they hold.
    bool writeJM1(int preheat, int delay, QString* error = nullptr);

private:
    bool update(QSqlQuery& query, QString* error);

    QSqlDatabase m_db;
};

} // namespace tessaly
