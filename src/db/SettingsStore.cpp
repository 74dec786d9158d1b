#include "SettingsStore.h"

#include "SqlSupport.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>

namespace tessaly {

std::optional<Settings> SettingsStore::readSettings(QString* error) const {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT Com, JM1YR, JM1YS FROM SysTab ORDER BY rowid LIMIT 1"));
    if (!execPrepared(query, error))
        return std::nullopt;
    if (!query.next()) {
        setError(error, QCoreApplication::translate("SettingsStore",
                                                    "数据库中没有通讯设置记录（SysTab）"));
        return std::nullopt;
    }
    return Settings{query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()};
}

bool SettingsStore::writePort(int com, QString* error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE SysTab SET Com = ?"));
    query.addBindValue(com);
    return update(query, error);
}

bool SettingsStore::writePreheatDelay(int preheat, int delay, QString* error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE SysTab SET JM1YR = ?, JM1YS = ?, JM2YR = 0, JM2YS = 0, "
                                 "JM3YR = 0, JM3YS = 0, JM4YR = 0, JM4YS = 0"));
    query.addBindValue(preheat);
    query.addBindValue(delay);
    return update(query, error);
}

bool SettingsStore::writeJM1(int preheat, int delay, QString* error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE SysTab SET JM1YR = ?, JM1YS = ?"));
    query.addBindValue(preheat);
    query.addBindValue(delay);
    return update(query, error);
}

bool SettingsStore::update(QSqlQuery& query, QString* error) {
    if (!execPrepared(query, error))
        return false;
    if (query.numRowsAffected() > 0)
        return true;
    setError(error, QCoreApplication::translate(
                        "SettingsStore", "数据库中没有通讯设置记录（SysTab），未保存任何设置"));
    return false;
}

} // namespace tessaly
