// The programs' language: their own translations and Qt's (the standard
// buttons of the window's boxes), compiled into the program. The language
// follows the system's UI languages; VARNOK_LANG ("de", "zh_CN", "C")
// overrides them, and the command line's --lang overrides that.
#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

#include <string>

namespace i18n {

// The locale the window speaks: VARNOK_LANG where it is set, else the
// system's (on Linux LC_ALL / LC_MESSAGES / LANG, on Windows the user's UI
// language).
QLocale ChosenLocale();

// The locale named `name` ("de", "zh_CN", "C"); the system's when empty.
QLocale LocaleNamed(const QString& name);

// The languages the program ships translations for ("de", "zh_CN").
QStringList ShippedLanguages();

// The language of the translation installed now ("de", "zh_CN"); empty
// while the texts are English. Key names follow it.
QString InstalledLanguage();

// The translations of one locale, installed in the application while the
// object lives, for Qt's texts and for the command-line modules' texts
// (cli/Messages.h) that the window shows. A locale without a shipped
// translation installs nothing: the texts stay English.
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

// For the command line, which has no QCoreApplication: the translation of
// `name` (--lang; VARNOK_LANG when empty, then the system's) set as the
// translator of its messages while the object lives, with a warning on the
// standard error when the name has no translation.
class CommandLineTranslations {
public:
    explicit CommandLineTranslations(const std::string& name);
    ~CommandLineTranslations();
    CommandLineTranslations(const CommandLineTranslations&) = delete;
    CommandLineTranslations& operator=(const CommandLineTranslations&) = delete;

private:
    QTranslator translator_;
};

}  // namespace i18n
