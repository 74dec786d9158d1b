#include "ImportTypes.h"

#include "ProgramStore.h"

#include <QCoreApplication>

#include <algorithm>

namespace tessaly {

namespace {

constexpr qsizetype QuotedCharacters = 40;

} // namespace

QString ImportPlace::text() const {
    return kind == Kind::Line
               ? QCoreApplication::translate("InterchangeImport", "第%1行").arg(number)
               : QCoreApplication::translate("InterchangeImport", "第%1个程序").arg(number + 1);
}

QString ImportProblem::text() const {
    return QCoreApplication::translate("InterchangeImport", "%1：%2").arg(where.text(), message);
}

bool inProgramsOnly(const QList<ImportProblem>& problems) {
    return std::all_of(problems.begin(), problems.end(), [](const ImportProblem& problem) {
        return problem.where.kind == ImportPlace::Kind::Element;
    });
}

const QHash<QString, int>& columnIndex() {
    static const QHash<QString, int> index = [] {
        QHash<QString, int> map;
        for (qsizetype i = 0; i < programColumns().size(); ++i)
            map.insert(programColumns()[i], int(i));
        return map;
    }();
    return index;
}

bool isAutoId(const QString& column) {
    return column == QLatin1String("AutoID");
}

QString quotable(const QString& value) {
    if (value.size() <= QuotedCharacters)
        return value;
    // Never cut a surrogate pair in two.
    qsizetype cut = QuotedCharacters;
    if (value[cut - 1].isHighSurrogate())
        --cut;
    return value.left(cut) + QChar(0x2026);
}

} // namespace tessaly
