// The English catalogue against the code: every text the code shows is in the catalogue and
// translated, and the catalogue holds no text the code no longer has. A Chinese text changed in
// the code shows up here as one text missing and one left over.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct Message {
    QString context;
    QString source;
    QString comment;
    QString type;             // "unfinished", "vanished", "obsolete" or empty
    QStringList translations; // one, or one per plural form
};

std::vector<Message> readCatalogue(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    bool numerus = false; // the translation holds one form per plural form
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (xml.isEndElement() && xml.name() == QLatin1String("message"))
            messages.push_back(message);
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            message = {context, {}, {}, {}, {}};
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            message.comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            if (!numerus)
                message.translations.append(xml.readElementText());
        } else if (name == QLatin1String("numerusform")) {
            message.translations.append(xml.readElementText());
        }
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(path) << ": " << qPrintable(xml.errorString());
    return messages;
}

QString key(const Message& m) {
    return m.context + QStringLiteral(" | ") + m.source +
           (m.comment.isEmpty() ? QString() : QStringLiteral(" | ") + m.comment);
}

QSet<QString> keys(const std::vector<Message>& messages) {
    QSet<QString> all;
    for (const auto& m : messages)
        all.insert(key(m));
    return all;
}

// The texts of the code as lupdate finds them today.
std::vector<Message> catalogueOfTheCode() {
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh_en.ts"));
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(TESSALY_SOURCE_DIR));
    lupdate.start(QStringLiteral(TESSALY_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-source-language"), QStringLiteral("zh_CN"),
                   QStringLiteral("-target-language"), QStringLiteral("en"), QStringLiteral("src"),
                   QStringLiteral("tools"), QStringLiteral("-ts"), fresh});
    EXPECT_TRUE(lupdate.waitForFinished(120000));
    EXPECT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    return readCatalogue(fresh);
}

const QString CommittedCatalogue = QStringLiteral(TESSALY_SOURCE_DIR "/translations/tessaly_en.ts");

QString listed(QStringList lines) {
    lines.sort();
    return lines.join(QLatin1Char('\n'));
}

TEST(Catalogue, HoldsExactlyTheTextsOfTheCode) {
    const auto code = keys(catalogueOfTheCode());
    const auto committed = keys(readCatalogue(CommittedCatalogue));
    ASSERT_FALSE(code.isEmpty());
    EXPECT_TRUE((code - committed).isEmpty())
        << "Texts of the code missing from translations/tessaly_en.ts (run scripts/translations "
           "and translate them):\n"
        << qPrintable(listed((code - committed).values()));
    EXPECT_TRUE((committed - code).isEmpty())
        << "Texts in translations/tessaly_en.ts that the code no longer has (run "
           "scripts/translations):\n"
        << qPrintable(listed((committed - code).values()));
}

// %1..%99 and %n, each counted once: a translation may reorder them but not lose or add one.
QSet<QString> placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%(\\d+|n)"));
    QSet<QString> found;
    for (const auto& match : marker.globalMatch(text))
        found.insert(match.captured());
    return found;
}

bool holdsChinese(const QString& text) {
    static const QRegularExpression han(QStringLiteral("[\\x{3000}-\\x{303F}\\x{4E00}-\\x{9FFF}"
                                                       "\\x{FF00}-\\x{FFEF}]"));
    return text.contains(han);
}

TEST(Catalogue, EveryTextHasAFinishedEnglishTranslation) {
    const auto messages = readCatalogue(CommittedCatalogue);
    ASSERT_FALSE(messages.empty());
    for (const auto& m : messages) {
        SCOPED_TRACE(qPrintable(key(m)));
        EXPECT_TRUE(m.type.isEmpty()) << "marked " << qPrintable(m.type);
        ASSERT_FALSE(m.translations.isEmpty());
        for (const auto& translation : m.translations) {
            EXPECT_FALSE(translation.trimmed().isEmpty());
            EXPECT_FALSE(holdsChinese(translation)) << qPrintable(translation);
            EXPECT_EQ(placeholders(translation), placeholders(m.source)) << qPrintable(translation);
        }
    }
}

// English that reads as written in English: a question whose answer is OK or Cancel asks for
// the action ("Delete this program?"), not for the user's wish ("Do you really want to..."); a
// button or a set named in running text goes without brackets ("click Test", "Set 1").
TEST(Catalogue, EnglishReadsAsWrittenInEnglish) {
    const auto messages = readCatalogue(CommittedCatalogue);
    ASSERT_FALSE(messages.empty());
    static const QRegularExpression bracketedWord(QStringLiteral("\\[[A-Z][a-z]"));
    for (const auto& m : messages)
        for (const auto& translation : m.translations) {
            SCOPED_TRACE(qPrintable(key(m) + QStringLiteral(" → ") + translation));
            EXPECT_FALSE(translation.contains(QLatin1String("Do you really")));
            EXPECT_FALSE(translation.contains(bracketedWord));
        }
}

} // namespace
