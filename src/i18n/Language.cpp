#include "Language.h"

#include <QCoreApplication>

#include <memory>

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
                return {languageOf(locale), QString()};
            value = arguments.at(i + 1);
        } else if (arguments.at(i).startsWith(option + QLatin1Char('='))) {
            value = arguments.at(i).mid(option.size() + 1);
        } else {
            continue;
        }
        if (const auto named = languageNamed(value))
            return {*named, std::nullopt};
        return {languageOf(locale), value};
    }
    return {languageOf(locale), std::nullopt};
}

QString refusalText(const LanguageChoice& choice) {
    if (!choice.refused || choice.refused->isEmpty())
        return QCoreApplication::translate("Language", "--lang 需要一个值：zh 或 en");
    return QCoreApplication::translate("Language", "--lang 只能是 zh 或 en，不能是“%1”")
        .arg(*choice.refused);
}

LanguageCatalogues::LanguageCatalogues(Language language) {
    // Both are built into the program, so that every copy of it carries them.
    const QString catalogue = language == Language::English
                                  ? QStringLiteral(":/i18n/tessaly_en.qm")
                                  : QStringLiteral(":/i18n/qtbase_zh_CN.qm");
    m_loaded = m_catalogue.load(catalogue) && QCoreApplication::installTranslator(&m_catalogue);
}

bool useLanguage(Language language) {
    // Lives as long as the application: translations are looked up on every tr().
    static std::unique_ptr<LanguageCatalogues> installed;
    installed.reset();
    installed = std::make_unique<LanguageCatalogues>(language);
    return installed->loaded();
}

} // namespace tessaly
