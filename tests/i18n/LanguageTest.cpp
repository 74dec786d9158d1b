#include "Language.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

TEST(Language, TheOptionWinsOverTheLocaleAndOnlyEnglishLocalesGiveEnglish) {
    const QLocale english(QStringLiteral("en_US"));
    const QLocale chinese(QStringLiteral("zh_CN"));
    const QLocale german(QStringLiteral("de_DE"));
    const struct {
        QStringList arguments;
        QLocale locale;
        Language expected;
        bool refused;
    } cases[] = {
        {{"tessaly"}, english, Language::English, false},
        {{"tessaly"}, chinese, Language::Chinese, false},
        {{"tessaly"}, german, Language::Chinese, false},
        {{"tessaly"}, QLocale::c(), Language::Chinese, false},
        {{"tessaly", "--lang", "zh"}, english, Language::Chinese, false},
        {{"tessaly", "--lang=en"}, chinese, Language::English, false},
        {{"tessaly", "list", "--lang", "en"}, german, Language::English, false},
        {{"tessaly", "--lang", "fr"}, english, Language::English, true},
        {{"tessaly", "--lang="}, chinese, Language::Chinese, true},
        {{"tessaly", "--lang"}, chinese, Language::Chinese, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.arguments.join(' ') + " in " + c.locale.name()));
        const auto choice = chooseLanguage(c.arguments, c.locale);
        EXPECT_EQ(choice.language, c.expected);
        EXPECT_EQ(choice.refused.has_value(), c.refused);
    }
}

TEST(Language, EnglishTranslatesAndChineseLeavesTheTextsAsWritten) {
    int argc = 1;
    char name[] = "i18n_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    const auto firstSet = [] { return QCoreApplication::translate("ProgramSet", "第一套"); };

    ASSERT_TRUE(useLanguage(Language::Chinese));
    EXPECT_EQ(firstSet(), QStringLiteral("第一套"));
    ASSERT_TRUE(useLanguage(Language::English));
    EXPECT_EQ(firstSet(), QStringLiteral("Set 1"));
}

} // namespace
