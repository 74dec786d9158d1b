#include "JsonReader.h"

#include "ProgramStore.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <optional>
#include <vector>

namespace tessaly {

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("InterchangeImport", text);
}

// Deeper than any program object nests: keeps a crafted file from exhausting the stack.
constexpr int MaxDepth = 64;

// A value of a program object as the row checks take it: the text the file writes, a string
// without its quotes and escapes, null as nothing; nothing at all for an array or an object.
using FieldText = std::optional<QString>;

// Reads the one shape an import takes, an array of flat objects, from the text itself rather
// than through a JSON document: a number keeps the characters it is written with, so that a
// message quotes 1e300 as the file holds it, never the double it would have become.
class JsonFileReader {
public:
    explicit JsonFileReader(QStringView text) : m_text(text) {}

    ParsedImport read() {
        skipSpace();
        if (atEnd())
            return m_read; // nothing at all: no program
        if (current() != QLatin1Char('[')) {
            m_read.problems = {
                {ImportPlace::line(lineAt(m_pos)),
                 QCoreApplication::translate("InterchangeImport", "JSON内容应为程序对象的数组")}};
            return m_read;
        }
        readArrayOfPrograms();
        skipSpace();
        if (!m_failure && !atEnd())
            fail(QCoreApplication::translate("InterchangeImport", "数组之后还有内容"));
        if (m_failure)
            return ParsedImport{{}, {*m_failure}};
        return m_read;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar current() const { return m_text[m_pos]; }
    bool at(char c) const { return !atEnd() && current() == QLatin1Char(c); }

    void skipSpace() {
        while (!atEnd() && (at(' ') || at('\t') || at('\n') || at('\r')))
            ++m_pos;
    }

    int lineAt(qsizetype pos) const { return int(m_text.left(pos).count(QLatin1Char('\n'))) + 1; }

    // The first syntax fault ends the reading: the file is refused with its line alone.
    bool fail(const QString& reason) {
        if (!m_failure)
            m_failure = ImportProblem{
                ImportPlace::line(lineAt(m_pos)),
                QCoreApplication::translate("InterchangeImport", "JSON格式错误：%1").arg(reason)};
        return false;
    }

    bool expect(char c, const char* reason) {
        skipSpace();
        if (!at(c))
            return fail(translated(reason));
        ++m_pos;
        return true;
    }

    // "]" or "}" closes the list, "," goes on to the next item; anything else is a fault.
    std::optional<bool> nextItem(char close, const char* reason) {
        skipSpace();
        if (at(',')) {
            ++m_pos;
            return true;
        }
        if (at(close)) {
            ++m_pos;
            return false;
        }
        fail(translated(reason));
        return std::nullopt;
    }

    void readArrayOfPrograms() {
        ++m_pos; // [
        skipSpace();
        if (at(']')) {
            ++m_pos;
            return;
        }
        for (qsizetype index = 0;; ++index) {
            skipSpace();
            if (at('{')) {
                if (!readProgram(ImportPlace::element(index)))
                    return;
            } else {
                if (!readValue(1))
                    return;
                m_read.problems.append(
                    {ImportPlace::element(index),
                     QCoreApplication::translate("InterchangeImport", "不是程序对象")});
            }
            const auto more = nextItem(']', QT_TRANSLATE_NOOP("InterchangeImport", "缺少“,”或“]”"));
            if (!more || !*more)
                return;
        }
    }

    bool readProgram(const ImportPlace& where) {
        ++m_pos; // {
        ImportRow row{where, QStringList(programColumns().size())};
        std::vector<bool> given(std::size_t(programColumns().size()), false);
        std::optional<QString> problem;
        skipSpace();
        if (at('}'))
            ++m_pos;
        else
            while (true) {
                QString key;
                if (!readKey(key))
                    return false;
                skipSpace();
                FieldText text;
                if (!readField(text))
                    return false;
                if (!problem)
                    problem = takeField(key, text, row, given);
                const auto more =
                    nextItem('}', QT_TRANSLATE_NOOP("InterchangeImport", "缺少“,”或“}”"));
                if (!more)
                    return false;
                if (!*more)
                    break;
            }
        for (std::size_t column = 0; !problem && column < given.size(); ++column)
            if (!given[column])
                problem = QCoreApplication::translate("InterchangeImport", "缺少字段“%1”")
                              .arg(programColumns()[qsizetype(column)]);
        if (problem)
            m_read.problems.append({where, *problem});
        else
            m_read.rows.append(row);
        return true;
    }

    // Puts one field's text in its column; the problem with it, if any.
    static std::optional<QString> takeField(const QString& key, const FieldText& text,
                                            ImportRow& row, std::vector<bool>& given) {
        if (isAutoId(key))
            return std::nullopt;
        const auto found = columnIndex().find(key);
        if (found == columnIndex().end())
            return QCoreApplication::translate("InterchangeImport", "未知的字段“%1”")
                .arg(quotable(key));
        if (given[std::size_t(found.value())])
            return QCoreApplication::translate("InterchangeImport", "字段“%1”重复").arg(key);
        if (!text)
            return QCoreApplication::translate("InterchangeImport",
                                               "字段“%1”不是文本、数字或布尔值")
                .arg(key);
        row.values[found.value()] = *text;
        given[std::size_t(found.value())] = true;
        return std::nullopt;
    }

    bool readField(FieldText& text) {
        if (at('[') || at('{')) {
            text.reset();
            return readValue(1);
        }
        text = QString();
        if (at('"'))
            return readString(*text);
        if (at('-') || (!atEnd() && current().isDigit()))
            return readNumber(*text);
        for (const char* word : {"true", "false", "null"})
            if (m_text.mid(m_pos).startsWith(QLatin1String(word))) {
                m_pos += qsizetype(qstrlen(word));
                if (word[0] != 'n')
                    *text = QLatin1String(word);
                return true;
            }
        return fail(QCoreApplication::translate("InterchangeImport", "此处应为一个值"));
    }

    // Any value, read only to be passed over (an element that is no object, a nested field).
    bool readValue(int depth) {
        if (depth > MaxDepth)
            return fail(QCoreApplication::translate("InterchangeImport", "嵌套过深"));
        skipSpace();
        if (!at('[') && !at('{')) {
            FieldText ignored;
            return readField(ignored);
        }
        const char close = at('[') ? ']' : '}';
        ++m_pos;
        skipSpace();
        if (at(close)) {
            ++m_pos;
            return true;
        }
        while (true) {
            QString key;
            if (close == '}' && !readKey(key))
                return false;
            if (!readValue(depth + 1))
                return false;
            const auto more = nextItem(
                close, close == ']' ? QT_TRANSLATE_NOOP("InterchangeImport", "缺少“,”或“]”")
                                    : QT_TRANSLATE_NOOP("InterchangeImport", "缺少“,”或“}”"));
            if (!more)
                return false;
            if (!*more)
                return true;
        }
    }

    // A member's name and the colon after it.
    bool readKey(QString& key) {
        skipSpace();
        if (!at('"'))
            return fail(QCoreApplication::translate("InterchangeImport", "字段名应为带引号的文本"));
        return readString(key) && expect(':', QT_TRANSLATE_NOOP("InterchangeImport", "缺少“:”"));
    }

    bool readString(QString& out) {
        ++m_pos; // "
        while (true) {
            const qsizetype start = m_pos;
            while (!atEnd() && !at('"') && !at('\\') && current().unicode() >= 0x20)
                ++m_pos;
            out += m_text.mid(start, m_pos - start);
            if (atEnd())
                return fail(QCoreApplication::translate("InterchangeImport", "文本缺少结尾的引号"));
            if (at('"')) {
                ++m_pos;
                return true;
            }
            if (!at('\\'))
                return fail(
                    QCoreApplication::translate("InterchangeImport", "文本中有未转义的控制字符"));
            if (!readEscape(out))
                return false;
        }
    }

    bool readEscape(QString& out) {
        ++m_pos; // backslash
        if (atEnd())
            return fail(QCoreApplication::translate("InterchangeImport", "文本缺少结尾的引号"));
        const char c = current().toLatin1();
        ++m_pos;
        static const QHash<char, QChar> simple{{'"', QLatin1Char('"')},  {'\\', QLatin1Char('\\')},
                                               {'/', QLatin1Char('/')},  {'b', QLatin1Char('\b')},
                                               {'f', QLatin1Char('\f')}, {'n', QLatin1Char('\n')},
                                               {'r', QLatin1Char('\r')}, {'t', QLatin1Char('\t')}};
        if (simple.contains(c)) {
            out += simple.value(c);
            return true;
        }
        bool ok = c == 'u' && m_pos + 4 <= m_text.size();
        const ushort unit = ok ? m_text.mid(m_pos, 4).toUShort(&ok, 16) : 0;
        if (!ok)
            return fail(QCoreApplication::translate("InterchangeImport", "无效的转义序列"));
        m_pos += 4;
        out += QChar(unit);
        return true;
    }

    // The number's own characters, scanned where they stand: the file is read once, whatever
    // its size.
    bool readNumber(QString& out) {
        const qsizetype start = m_pos;
        const auto digits = [this] {
            const qsizetype from = m_pos;
            while (!atEnd() && current() >= QLatin1Char('0') && current() <= QLatin1Char('9'))
                ++m_pos;
            return m_pos > from;
        };
        if (at('-'))
            ++m_pos;
        bool valid = true;
        if (at('0'))
            ++m_pos; // no leading zeros: "01" is a 0 and then a fault
        else
            valid = digits();
        bool fraction = false;
        if (valid && at('.')) {
            ++m_pos;
            valid = fraction = digits();
        }
        bool exponent = false;
        if (valid && (at('e') || at('E'))) {
            ++m_pos;
            if (at('+') || at('-'))
                ++m_pos;
            valid = exponent = digits();
        }
        if (!valid)
            return fail(QCoreApplication::translate("InterchangeImport", "无效的数字"));
        const QStringView number = m_text.mid(start, m_pos - start);
        // A whole number written with a zero fraction ("20.0", as some tools write every
        // number) is that whole number; every other form stays as written.
        const qsizetype point = number.indexOf(QLatin1Char('.'));
        const bool zeroFraction = fraction && !exponent &&
                                  std::all_of(number.begin() + point + 1, number.end(),
                                              [](QChar c) { return c == QLatin1Char('0'); });
        out = (zeroFraction ? number.left(point) : number).toString();
        return true;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    ParsedImport m_read;
    std::optional<ImportProblem> m_failure;
};

} // namespace

void readJson(const QString& text, ParsedImport& parsed) {
    const ParsedImport read = JsonFileReader(text).read();
    parsed.rows += read.rows;
    parsed.problems += read.problems;
}

} // namespace tessaly
