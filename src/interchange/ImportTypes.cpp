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

bool isControlCharacter(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == QChar::LineSeparator ||
           u == QChar::ParagraphSeparator;
}

bool hasControlCharacter(QStringView text) {
    return std::any_of(text.begin(), text.end(), isControlCharacter);
}

QString quotable(const QString& value) {
    QStringView shown = value;
    // Never cut a surrogate pair in two.
    if (shown.size() > QuotedCharacters)
        shown = shown.left(shown[QuotedCharacters - 1].isHighSurrogate() ? QuotedCharacters - 1
                                                                         : QuotedCharacters);
    QString quoted;
    quoted.reserve(shown.size() + 1);
    for (const QChar c : shown) {
        if (!isControlCharacter(c)) {
            quoted += c;
            continue;
        }
        switch (c.unicode()) {
        case 0:
            quoted += QLatin1String("\\0");
            break;
        case '\t':
            quoted += QLatin1String("\\t");
            break;
        case '\n':
            quoted += QLatin1String("\\n");
            break;
        case '\r':
            quoted += QLatin1String("\\r");
            break;
        default:
            quoted += c.unicode() < 0x100
                          ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                          : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    if (shown.size() < value.size())
        quoted += QChar(0x2026);
    return quoted;
}

} // namespace tessaly
