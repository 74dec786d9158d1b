#include "InterchangeImport.h"

#include "CsvReader.h"
#include "JsonReader.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "RecordFrame.h"
#include "ScheduleEditor.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace tessaly {

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

std::optional<QString> decoded(QStringDecoder&& decoder, const QByteArray& bytes) {
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? std::nullopt : std::optional<QString>(text);
}

std::optional<QString> decodedUtf8(const QByteArray& bytes) {
    return decoded(QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless), bytes);
}

// The line of the first byte that is not UTF-8.
int firstLineNotUtf8(const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!decodedUtf8(lines[i]))
            return int(i) + 1;
    return 1;
}

// The text of the file: UTF-8, with or without a BOM; else GB18030, what a Chinese
// spreadsheet's plain CSV holds, when every byte of it decodes as that (a file with a UTF-8
// BOM says what it is and is not read otherwise). Nothing, with the first line that is not
// UTF-8, for a file that is neither.
std::optional<QString> decodeText(const QByteArray& input, ParsedImport& parsed) {
    const bool marked = input.startsWith(Bom);
    const QByteArray bytes = marked ? input.mid(Bom.size()) : input;
    if (auto text = decodedUtf8(bytes))
        return text;
    if (!marked)
        if (auto text =
                decoded(QStringDecoder("GB18030", QStringDecoder::Flag::Stateless), bytes)) {
            parsed.readAsGb18030 = true;
            return text;
        }
    parsed.problems.append(
        {ImportPlace::line(firstLineNotUtf8(bytes)),
         QCoreApplication::translate("InterchangeImport", "不是UTF-8或GB18030编码的文本")});
    return std::nullopt;
}

// A set the file fills alone keeps the order numbers the file gives it, when each of its
// programs has one that the load can send (000 to 255) and no two share one: what the player
// numbered (from 000) comes back as it was exported. A set added to, or one the file leaves
// unnumbered, is numbered by start time, as is a longer set (the editor numbers up to 999,
// by start time, so that its export comes back the same).
bool keepsOrderNumbers(const QList<ProgramRecord>& records, const QString& label,
                       const QSet<QString>& occupied) {
    if (occupied.contains(label))
        return false;
    QSet<QString> numbers;
    for (const ProgramRecord& record : records)
        if (record.JMTaoNo == label) {
            if (record.OrderNo.isEmpty() || record.OrderNo.toInt() > MaxByteValue ||
                numbers.contains(record.OrderNo))
                return false;
            numbers.insert(record.OrderNo);
        }
    return true;
}

} // namespace

ParsedImport parseImport(const QByteArray& bytes, InterchangeFormat format) {
    ParsedImport parsed;
    const auto text = decodeText(bytes, parsed);
    if (!text)
        return parsed;
    if (format == InterchangeFormat::Json)
        readJson(*text, parsed);
    else
        readCsv(*text, parsed);
    return parsed;
}

ImportFile readImportFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QCoreApplication::translate("InterchangeImport", "无法读取文件%1：%2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString())};
    // A regular file is measured before a byte is read; a pipe or a device only as it is read.
    if (!file.isSequential() && file.size() > MaxImportFileBytes)
        return {std::nullopt, fileTooLargeMessage(path, file.size())};
    QByteArray bytes = file.read(MaxImportFileBytes + 1);
    if (bytes.size() > MaxImportFileBytes)
        return {std::nullopt, fileTooLargeMessage(path, std::nullopt)};
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, QCoreApplication::translate("InterchangeImport", "无法读取文件%1：%2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString())};
    return {bytes, {}};
}

ImportResult importPrograms(const QSqlDatabase& db, const QByteArray& bytes,
                            InterchangeFormat format, const ImportOptions& options,
                            const BeforeImportWrite& beforeWrite) {
    ImportResult result;
    const ParsedImport parsed = parseImport(bytes, format);
    result.readAsGb18030 = parsed.readAsGb18030;
    if (parsed.rows.isEmpty() && parsed.problems.isEmpty()) {
        // Nothing to add; with --replace it would only empty the sets.
        result.refusal =
            QCoreApplication::translate("InterchangeImport", "文件中没有程序，未导入。");
        return result;
    }
    ProgramStore store(db);
    QSet<QString> occupied; // sets whose programs the import adds to
    const auto kept = [&](const QString& label) {
        if (options.replace)
            return QList<ProgramRecord>();
        QString error;
        const auto programs =
            store.programsOfSet(ProgramTable::MusicTab, label, SetRows::All, &error);
        if (!programs && result.error.isEmpty())
            result.error = error;
        if (programs && !programs->isEmpty())
            occupied.insert(label);
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
        if (!keepsOrderNumbers(checked.records, label, occupied) &&
            !renumberProgramSet(db, label, &result.error))
            return result;
    if (!transaction.commit(&result.error))
        return result;
    result.imported = int(checked.records.size());
    return result;
}

QString fileTooLargeMessage(const QString& path, std::optional<qint64> size) {
    const QLocale locale;
    const QString limit =
        locale.formattedDataSize(MaxImportFileBytes, 0, QLocale::DataSizeTraditionalFormat);
    if (!size)
        return QCoreApplication::translate("InterchangeImport",
                                           "文件%1大于%2，不是节目文件，未导入。")
            .arg(QDir::toNativeSeparators(path), limit);
    return QCoreApplication::translate("InterchangeImport",
                                       "文件%1有%2，不是节目文件（节目文件不超过%3），未导入。")
        .arg(QDir::toNativeSeparators(path),
             locale.formattedDataSize(*size, 1, QLocale::DataSizeTraditionalFormat), limit);
}

QString sampleFolder(const QString& executableFolder) {
    const QDir folder(QDir(executableFolder).filePath(QStringLiteral("../share/tessaly/samples")));
    return folder.exists() ? folder.canonicalPath() : QString();
}

QString gb18030Notice() {
    return QCoreApplication::translate("InterchangeImport",
                                       "文件不是UTF-8编码，已按GB18030编码读取。");
}

QString importDoneMessage(int count) {
    return QCoreApplication::translate("InterchangeImport", "导入完成：共%1个程序。").arg(count);
}

} // namespace tessaly
