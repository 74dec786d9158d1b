#include "InterchangeImport.h"

#include "CsvReader.h"
#include "JsonReader.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "ScheduleEditor.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <algorithm>

namespace tessaly {

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

// The text of the bytes, or the line of the first that is not UTF-8.
std::optional<QString> decodeUtf8(const QByteArray& bytes, ParsedImport& parsed) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder line(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = line.decode(lines[i]); // decoding happens on conversion
        Q_UNUSED(decoded);
        if (line.hasError()) {
            parsed.problems.append(
                {ImportPlace::line(int(i) + 1),
                 QCoreApplication::translate("InterchangeImport", "不是UTF-8编码的文本")});
            return std::nullopt;
        }
    }
    parsed.problems.append({ImportPlace::line(1), QCoreApplication::translate(
                                                      "InterchangeImport", "不是UTF-8编码的文本")});
    return std::nullopt;
}

} // namespace

ParsedImport parseImport(const QByteArray& input, InterchangeFormat format) {
    ParsedImport parsed;
    const QByteArray bytes = input.startsWith(Bom) ? input.mid(Bom.size()) : input;
    const auto text = decodeUtf8(bytes, parsed);
    if (!text)
        return parsed;
    if (format == InterchangeFormat::Json)
        readJson(*text, parsed);
    else
        readCsv(*text, parsed);
    return parsed;
}

ImportResult importPrograms(const QSqlDatabase& db, const QByteArray& bytes,
                            InterchangeFormat format, const ImportOptions& options,
                            const BeforeImportWrite& beforeWrite) {
    ImportResult result;
    const ParsedImport parsed = parseImport(bytes, format);
    if (parsed.rows.isEmpty() && parsed.problems.isEmpty()) {
        // Nothing to add; with --replace it would only empty the sets.
        result.refusal =
            QCoreApplication::translate("InterchangeImport", "文件中没有程序，未导入。");
        return result;
    }
    ProgramStore store(db);
    const auto kept = [&](const QString& label) {
        if (options.replace)
            return QList<ProgramRecord>();
        QString error;
        const auto programs =
            store.programsOfSet(ProgramTable::MusicTab, label, SetRows::All, &error);
        if (!programs && result.error.isEmpty())
            result.error = error;
        return programs.value_or(QList<ProgramRecord>());
    };
    const CheckedImport checked = checkImportRows(parsed.rows, options, kept);
    result.problems = parsed.problems + checked.problems;
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const auto& a, const auto& b) { return a.where < b.where; });
    if (!result.succeeded())
        return result;
    if (beforeWrite && !beforeWrite(&result.error))
        return result;

    QStringList targets;
    if (options.set)
        targets.append(setLabel(*options.set));
    for (const ProgramRecord& record : checked.records)
        if (!targets.contains(record.JMTaoNo))
            targets.append(record.JMTaoNo);
    Transaction transaction(db);
    if (!transaction.isActive()) {
        result.error = transaction.errorText();
        return result;
    }
    if (options.replace)
        for (const QString& label : targets)
            if (!store.deleteSet(ProgramTable::MusicTab, label, SetRows::All, &result.error))
                return result;
    if (!store.insertAll(ProgramTable::MusicTab, checked.records, &result.error))
        return result;
    for (const QString& label : targets)
        if (!renumberProgramSet(db, label, &result.error))
            return result;
    if (!transaction.commit(&result.error))
        return result;
    result.imported = int(checked.records.size());
    return result;
}

QString importDoneMessage(int count) {
    return QCoreApplication::translate("InterchangeImport", "导入完成：共%1个程序。").arg(count);
}

} // namespace tessaly
