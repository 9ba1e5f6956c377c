// The command line's messages in the user's language. Texts are English
// UTF-8 in the sources, looked up by (context, text) in the translator the
// program sets at start-up; the window sets one too, so the profile errors
// it shows from here are translated as well. lupdate finds the texts by the
// name of translate().
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace cli {

// The translation of `source` in `context`; empty where there is none.
using MessageTranslator = std::function<std::string(const char* context, const char* source)>;

// Process-wide, set once before any message is made. `language` ("de",
// "zh_CN") names the keys as that language's keycaps do; empty: English.
void SetMessageTranslator(MessageTranslator translator, std::string language);

// The language of the translator set; empty while the texts are English.
const std::string& MessageLanguage();

// `source` translated, or `source` itself.
std::string translate(const char* context, const char* source);

// `text` with %1..%9 replaced by `args` in one pass (an argument's own "%1"
// stays as it is); a placeholder without an argument stays.
std::string Fill(std::string_view text, std::initializer_list<std::string> args);

}  // namespace cli

// Marks a text for translation where it is looked up later.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
