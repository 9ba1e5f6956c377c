// The messages' language, for the programs' main: --lang is taken out of
// the arguments and, where the program is built with its translations, the
// translation of that language (or VARNOK_LANG's, or the system's) is set
// for as long as the object lives.
#pragma once

#include <string>
#include <vector>

#include "cli/CliOptions.h"
#ifdef VARNOK_CLI_TRANSLATIONS
#include "translations/Translations.h"
#endif

namespace cli {

class ChosenLanguage {
 public:
  explicit ChosenLanguage(std::vector<std::string>& args)
      : option_(TakeLanguageOption(args))
#ifdef VARNOK_CLI_TRANSLATIONS
        ,
        translations_(option_.language.value_or(std::string()))
#endif
  {
  }

  // What is wrong with --lang; empty when nothing is.
  const std::string& Error() const { return option_.error; }

 private:
  LanguageOption option_;
#ifdef VARNOK_CLI_TRANSLATIONS
  i18n::CommandLineTranslations translations_;
#endif
};

}  // namespace cli
