#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

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

// The catalogues of `language`, installed on the running application for as long as this
// lives: ours for English (Qt's own texts are English already); Qt's own for Chinese, so that
// the standard buttons, a box's detail button and the file and print dialogs read Chinese too.
class LanguageCatalogues {
public:
    explicit LanguageCatalogues(Language language); // the translator uninstalls itself
    LanguageCatalogues(const LanguageCatalogues&) = delete;
    LanguageCatalogues& operator=(const LanguageCatalogues&) = delete;

    bool loaded() const { return m_loaded; }

private:
    QTranslator m_catalogue;
    bool m_loaded = false;
};

// Installs the catalogues of `language` for the rest of the run, in place of those of an
// earlier call. False when they could not be loaded.
bool useLanguage(Language language);

} // namespace tessaly
