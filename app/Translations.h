// The window's language: the program's own translations and Qt's (the
// standard buttons of the boxes), compiled into the program. The language
// follows the system's UI languages; VARNOK_LANG ("de", "zh_CN", "C")
// overrides them.
#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace app {

// The locale the window speaks: VARNOK_LANG where it is set, else the
// system's (on Linux LC_ALL / LC_MESSAGES / LANG, on Windows the user's UI
// language).
QLocale ChosenLocale();

// The languages the program ships translations for ("de", "zh_CN").
QStringList ShippedLanguages();

// The language of the translation installed now ("de", "zh_CN"); empty
// while the texts are English. Key names follow it.
QString InstalledLanguage();

// The translations of one locale, installed in the application while the
// object lives. A locale without a shipped translation installs nothing:
// the texts stay English.
class Translations {
public:
    explicit Translations(const QLocale& locale);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // Whether the program's own texts are translated.
    bool Loaded() const { return programLoaded_; }

private:
    QTranslator program_;
    QTranslator qt_;
    QString language_;
    bool programLoaded_ = false;
    bool qtLoaded_ = false;
};

// For the programs' entry points: the translations of ChosenLocale(), with
// a warning on the standard error when VARNOK_LANG names a language that is
// not shipped.
class ProgramTranslations : public Translations {
public:
    ProgramTranslations();
};

}  // namespace app
