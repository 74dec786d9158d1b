#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTime>

#include <array>
#include <optional>

namespace tessaly {

// One timed program of the player: one row of MusicTab or MusicReadTab.
struct ProgramRecord {
    qint64 AutoID = 0; // assigned by the database; 0 for a row not stored yet
    QString OrderNo;   // "001" upwards
    QTime KSTime;      // start, time of day; kept equal to KS1:KS2:KS3
    QTime JSTime;      // end, time of day; kept equal to JS1:JS2:JS3
    QString JMTaoNo;   // set label "第一套" .. "第四套"; null (NULL) for none
    QString YXCX;      // "优先" or empty; stored as NULL only when JMTaoNo is null too
    bool MP3 = true;
    bool ShouYin = false;
    std::optional<int> YuRe; // NULL when never written (the player does not report them)
    std::optional<int> YuanShi;
    int KS1 = 0, KS2 = 0, KS3 = 0;
    int JS1 = 0, JS2 = 0, JS3 = 0;
    std::array<bool, 7> Week{};  // Week1 (Monday) .. Week7 (Sunday)
    std::array<QString, 6> QuMu; // QuMu1 .. QuMu6: track numbers, or the station in QuMu1
    int YinLiang = 0;            // volume 0 .. 38
    std::array<bool, 32> FQ{};   // FQ1 .. FQ32: broadcast zones

    bool operator==(const ProgramRecord&) const = default;
};

// The loudest volume the editor offers ("0" to "38"). A player may give back larger values.
constexpr int MaxEditorVolume = 38;

// The priority marker stored in YXCX.
inline QString priorityMarker() {
    return QStringLiteral("优先");
}

inline bool isPriority(const ProgramRecord& record) {
    return record.YXCX == priorityMarker();
}

// The marker as the operator reads it; stored, it stays "优先" in every language.
inline QString displayedPriority(const ProgramRecord& record) {
    return isPriority(record) ? QCoreApplication::translate("ProgramRecord", "优先") : QString();
}

} // namespace tessaly
