#include "translations/Translations.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

#include "cli/Messages.h"

// The .qm files live in a resource of this static library.
static void InitTranslationResource()
{
    Q_INIT_RESOURCE(translations);
}

namespace i18n {
namespace {

const QString kFolder = QStringLiteral(":/i18n");
const QString kProgramFile = QStringLiteral("varnok");
const QString kQtFile = QStringLiteral("qtbase");
// Of the Translations object installed last.
QString installedLanguage;

QString OverrideName()
{
    return qEnvironmentVariable("VARNOK_LANG").trimmed();
}

// English (and the C locale) is the texts' own language.
bool IsSourceName(const QString& language)
{
    return language == QLatin1String("C") || language == QLatin1String("POSIX") ||
           language == QLatin1String("en") || language.startsWith(QLatin1String("en_"));
}

// The first of the locale's UI languages that has a translation, English
// counting as one ("en_US:de" stays English): that language, or empty.
QString LoadFirstShipped(QTranslator& translator, const QLocale& locale)
{
    for (QString language : locale.uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (IsSourceName(language))
            return QString();
        // "de_DE" falls back to "de".
        if (translator.load(kProgramFile + QLatin1Char('_') + language, kFolder))
            return language;
    }
    return QString();
}

void WarnNotShipped(const QString& name, const char* setting)
{
    std::fprintf(stderr, "%s%s: no translation for this language (shipped: %s); the texts stay English\n", setting,
                 qPrintable(name), qPrintable(ShippedLanguages().join(QStringLiteral(", "))));
}

// The command-line modules' texts through the application's translators.
std::string TranslateInApplication(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source).toStdString();
}

}  // namespace

QLocale LocaleNamed(const QString& name)
{
    return name.isEmpty() ? QLocale::system() : QLocale(name);
}

QLocale ChosenLocale()
{
    return LocaleNamed(OverrideName());
}

QString InstalledLanguage()
{
    return installedLanguage;
}

QStringList ShippedLanguages()
{
    InitTranslationResource();
    QStringList languages;
    const QString prefix = kProgramFile + QLatin1Char('_');
    for (const QString& file : QDir(kFolder).entryList({prefix + QStringLiteral("*.qm")}, QDir::Files,
                                                       QDir::Name))
        languages << file.mid(prefix.size()).chopped(3);
    return languages;
}

Translations::Translations(const QLocale& locale)
{
    InitTranslationResource();
    const QString language = LoadFirstShipped(program_, locale);
    if (language.isEmpty())
        return;
    programLoaded_ = QCoreApplication::installTranslator(&program_);
    if (programLoaded_) {
        installedLanguage = language_ = language;
        cli::SetMessageTranslator(TranslateInApplication, language.toStdString());
    }
    // Qt's own texts in the same language, for the boxes' standard buttons.
    if (programLoaded_)
        qtLoaded_ = qt_.load(kQtFile + QLatin1Char('_') + language, kFolder) &&
                    QCoreApplication::installTranslator(&qt_);
}

Translations::~Translations()
{
    if (programLoaded_ && installedLanguage == language_) {
        installedLanguage.clear();
        cli::SetMessageTranslator(nullptr, std::string());
    }
    if (qtLoaded_)
        QCoreApplication::removeTranslator(&qt_);
    if (programLoaded_)
        QCoreApplication::removeTranslator(&program_);
}

ProgramTranslations::ProgramTranslations() : Translations(ChosenLocale())
{
    const QString name = OverrideName();
    if (!name.isEmpty() && !Loaded() && !IsSourceName(name))
        WarnNotShipped(name, "VARNOK_LANG=");
}

CommandLineTranslations::CommandLineTranslations(const std::string& name)
{
    InitTranslationResource();
    const QString given = QString::fromStdString(name);
    const QString chosen = given.isEmpty() ? OverrideName() : given;
    const QString language = LoadFirstShipped(translator_, LocaleNamed(chosen));
    if (!language.isEmpty()) {
        cli::SetMessageTranslator(
            [this](const char* context, const char* source) {
                return translator_.translate(context, source).toStdString();
            },
            language.toStdString());
    } else if (!chosen.isEmpty() && !IsSourceName(chosen)) {
        WarnNotShipped(chosen, given.isEmpty() ? "VARNOK_LANG=" : "--lang ");
    }
}

CommandLineTranslations::~CommandLineTranslations()
{
    cli::SetMessageTranslator(nullptr, std::string());
}

}  // namespace i18n
