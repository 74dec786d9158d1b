#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaly {

// Chinese is the language the texts are written in; English is a translation of them.
enum class Language { Chinese, English };

// "zh" or "en", the values of --lang; nothing for any other text.
std::optional<Language> languageNamed(const QString& name);

// English when the locale is English; Chinese for Chinese and for every language without a
// translation.
Language languageOf(const QLocale& locale);

struct LanguageChoice {
    Language language = Language::Chinese;
    // Set when --lang had no value or one other than zh and en (then empty or that value).
    std::optional<QString> refused;
};

// --lang zh|en (or --lang=en) among the arguments wins over the locale.
LanguageChoice chooseLanguage(const QStringList& arguments, const QLocale& locale);

// Why a refused --lang was refused, in the language installed at the time of the call.
QString refusalText(const LanguageChoice& choice);

// Installs the translation of `language` on the running application. Chinese needs none.
bool useLanguage(Language language);

} // namespace tessaly
