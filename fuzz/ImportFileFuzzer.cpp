// An import file as anyone may hand it over: the input itself read as CSV and as JSON, and a
// well-formed export of a few programs with the input's bytes written over it, so that the
// row checks are reached too. Every row must end either stored or refused with a reason, and
// every reason is one whole line.

#include "InterchangeExport.h"
#include "InterchangeImport.h"
#include "ProgramSet.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace tessaly;

QList<ProgramRecord> samplePrograms() {
    QList<ProgramRecord> programs;
    for (int set = FirstSet; set <= LastSet; ++set) {
        ProgramRecord p;
        p.OrderNo = formatOrderNo(set);
        p.JMTaoNo = setLabel(set);
        p.YXCX = set % 2 ? priorityMarker() : QStringLiteral("");
        p.KS1 = 7 + set;
        p.JS1 = 9;
        p.KSTime = timeOfDay(p.KS1, 0, 0);
        p.JSTime = timeOfDay(9, 0, 0);
        p.Week = {true, false, true, false, false, false, true};
        p.QuMu = {"1", "22", "333", "", "000", "9"};
        p.YinLiang = 38;
        p.YuRe = set == 2 ? std::optional<int>() : std::optional<int>(set);
        p.FQ[set] = true;
        programs.append(p);
    }
    return programs;
}

void check(const QByteArray& bytes, InterchangeFormat format) {
    for (const std::optional<int> set : {std::optional<int>(), std::optional<int>(3)}) {
        const ParsedImport parsed = parseImport(bytes, format);
        const CheckedImport checked = checkImportRows(
            parsed.rows, {set, false}, [](const QString&) { return QList<ProgramRecord>(); });
        if (checked.records.size() + checked.problems.size() != parsed.rows.size())
            std::abort(); // a row neither stored nor refused
        for (const ProgramRecord& record : checked.records)
            if (!setNumber(record.JMTaoNo) || !record.KSTime.isValid() ||
                !record.JSTime.isValid() || record.YinLiang < 0 || record.YinLiang > 255 ||
                record.MP3 == record.ShouYin)
                std::abort(); // a row the load could not send as it is was let through
        for (const ImportProblem& problem : parsed.problems + checked.problems)
            if (problem.where.number < 0 || problem.message.isEmpty() ||
                hasControlCharacter(problem.text()))
                std::abort(); // a message cut short by a NUL or split over lines
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    check(input, InterchangeFormat::Csv);
    check(input, InterchangeFormat::Json);
    static const QList<ProgramRecord> programs = samplePrograms();
    for (const InterchangeFormat format : {InterchangeFormat::Csv, InterchangeFormat::Json}) {
        QByteArray file = writePrograms(programs, format);
        // Pairs of input bytes: where (scaled over the file) and what to write there.
        for (std::size_t i = 0; i + 1 < size; i += 2)
            file[qsizetype(data[i]) * file.size() / 256] = char(data[i + 1]);
        check(file, format);
    }
    return 0;
}
