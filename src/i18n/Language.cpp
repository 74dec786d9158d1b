#include "Language.h"

#include <QCoreApplication>
#include <QTranslator>

namespace tessaly {

std::optional<Language> languageNamed(const QString& name) {
    if (name == QLatin1String("zh"))
        return Language::Chinese;
    if (name == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

Language languageOf(const QLocale& locale) {
    return locale.language() == QLocale::English ? Language::English : Language::Chinese;
}

LanguageChoice chooseLanguage(const QStringList& arguments, const QLocale& locale) {
    const QString option = QStringLiteral("--lang");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString value;
        if (arguments.at(i) == option) {
            if (i + 1 == arguments.size())
                return {languageOf(locale), QStringLiteral("--lang needs a value: zh or en")};
            value = arguments.at(i + 1);
        } else if (arguments.at(i).startsWith(option + QLatin1Char('='))) {
            value = arguments.at(i).mid(option.size() + 1);
        } else {
            continue;
        }
        if (const auto named = languageNamed(value))
            return {*named, {}};
        return {languageOf(locale), QStringLiteral("--lang takes zh or en, not \"%1\"").arg(value)};
    }
    return {languageOf(locale), {}};
}

bool useLanguage(Language language) {
    if (language == Language::Chinese)
        return true;
    // Lives as long as the application: translations are looked up on every tr().
    static QTranslator english;
    if (!english.load(QStringLiteral(":/i18n/tessaly_en.qm")))
        return false;
    return QCoreApplication::installTranslator(&english);
}

} // namespace tessaly
