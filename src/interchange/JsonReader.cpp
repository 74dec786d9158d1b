#include "JsonReader.h"

#include "ProgramStore.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <vector>

namespace tessaly {

namespace {

int lineOfOffset(const QByteArray& bytes, qsizetype offset) {
    return int(bytes.left(offset).count('\n')) + 1;
}

// A JSON value as the text a spreadsheet cell would hold; nothing for arrays and objects.
std::optional<QString> jsonText(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QJsonValue::Double: {
        const double number = value.toDouble();
        if (number == double(qint64(number)) && std::abs(number) < 1e15)
            return QString::number(qint64(number));
        return QString::number(number, 'g', 17);
    }
    case QJsonValue::String:
        return value.toString();
    default:
        return std::nullopt;
    }
}

void parseJsonObject(const QJsonObject& object, const ImportPlace& where, ParsedImport& parsed) {
    ImportRow row{where, QStringList(programColumns().size())};
    std::vector<bool> given(std::size_t(programColumns().size()), false);
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (isAutoId(it.key()))
            continue;
        const auto found = columnIndex().find(it.key());
        if (found == columnIndex().end()) {
            parsed.problems.append(
                {where, QCoreApplication::translate("InterchangeImport", "未知的字段“%1”")
                            .arg(quotable(it.key()))});
            return;
        }
        const auto text = jsonText(it.value());
        if (!text) {
            parsed.problems.append(
                {where,
                 QCoreApplication::translate("InterchangeImport", "字段“%1”不是文本、数字或布尔值")
                     .arg(it.key())});
            return;
        }
        row.values[found.value()] = *text;
        given[std::size_t(found.value())] = true;
    }
    for (std::size_t column = 0; column < given.size(); ++column)
        if (!given[column]) {
            parsed.problems.append(
                {where, QCoreApplication::translate("InterchangeImport", "缺少字段“%1”")
                            .arg(programColumns()[qsizetype(column)])});
            return;
        }
    parsed.rows.append(row);
}

} // namespace

void readJson(const QByteArray& bytes, ParsedImport& parsed) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        parsed.problems.append({ImportPlace::line(lineOfOffset(bytes, error.offset)),
                                QCoreApplication::translate("InterchangeImport", "JSON格式错误：%1")
                                    .arg(error.errorString())});
        return;
    }
    if (!document.isArray()) {
        parsed.problems.append(
            {ImportPlace::line(1),
             QCoreApplication::translate("InterchangeImport", "JSON内容应为程序对象的数组")});
        return;
    }
    const QJsonArray array = document.array();
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array[i].isObject()) {
            parsed.problems.append(
                {ImportPlace::element(i),
                 QCoreApplication::translate("InterchangeImport", "不是程序对象")});
            continue;
        }
        parseJsonObject(array[i].toObject(), ImportPlace::element(i), parsed);
    }
}

} // namespace tessaly
