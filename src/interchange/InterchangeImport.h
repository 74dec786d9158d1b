#pragma once

#include "ImportTypes.h"
#include "InterchangeFormat.h"
#include "ProgramRecord.h"
#include "RowChecks.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tessaly {

// The largest file an import reads. Four full sets of 999 programs export as under 4 MB of
// JSON; a file much larger is no schedule, and reading it whole could exhaust the memory.
constexpr qint64 MaxImportFileBytes = 8 * 1024 * 1024;

// The bytes of a file to import, or why they are not read (it cannot be opened or read, or it
// is larger than MaxImportFileBytes: then it is refused before it is read into memory).
struct ImportFile {
    std::optional<QByteArray> bytes;
    QString error;
};
ImportFile readImportFile(const QString& path);

// Reads the rows of a CSV or JSON file, UTF-8 or else GB18030. A CSV may come from a
// spreadsheet: with or without a BOM, CRLF or LF, separated by commas, semicolons or tabs as
// its header is, any field quoted, blank lines and empty columns at the end of each row, the
// columns in any order (AutoID, when present, is ignored). Bytes that are neither UTF-8 nor
// GB18030 are refused with the line they are on.
ParsedImport parseImport(const QByteArray& bytes, InterchangeFormat format);

// Runs once every row has passed, right before the first write; false (with the reason)
// stops the import with nothing written.
using BeforeImportWrite = std::function<bool(QString* error)>;

struct ImportResult {
    int imported = 0;
    QList<ImportProblem> problems; // refused rows: nothing was written
    QString refusal;               // the file holds no program: nothing was done
    QString error;                 // the database or beforeWrite failed: nothing was written
    bool readAsGb18030 = false;    // say so: the file was not UTF-8

    bool succeeded() const { return problems.isEmpty() && refusal.isEmpty() && error.isEmpty(); }
};

// Reads, checks and stores the programs of a file into MusicTab: all rows or none; a file
// without a program is refused before anything else (beforeWrite included). With
// replace, each target set is emptied first; each set that receives programs is then numbered
// by start time as the editor numbers it, unless the file fills it alone and numbers each of its
// programs differently (then those numbers stay). All in one transaction.
ImportResult importPrograms(const QSqlDatabase& db, const QByteArray& bytes,
                            InterchangeFormat format, const ImportOptions& options,
                            const BeforeImportWrite& beforeWrite = {});

// Why a file of `size` bytes (nothing: of more than the limit) is not read.
QString fileTooLargeMessage(const QString& path, std::optional<qint64> size);

// "文件不是UTF-8编码，已按GB18030编码读取。"
QString gb18030Notice();

// The sample weeks at ../share/tessaly/samples from the program's folder: where the package
// installs them beside /usr/bin, and where a build lays them beside its bin/. Empty when that
// folder does not exist.
QString sampleFolder(const QString& executableFolder);

// "导入完成：共N个程序。"
QString importDoneMessage(int count);

} // namespace tessaly
