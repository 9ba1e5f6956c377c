#include "cli/Messages.h"

namespace cli {

namespace {

MessageTranslator& Translator() {
  static MessageTranslator translator;
  return translator;
}

std::string& Language() {
  static std::string language;
  return language;
}

}  // namespace

void SetMessageTranslator(MessageTranslator translator, std::string language) {
  Translator() = std::move(translator);
  Language() = Translator() ? std::move(language) : std::string();
}

const std::string& MessageLanguage() { return Language(); }

std::string translate(const char* context, const char* source) {
  if (const MessageTranslator& t = Translator()) {
    std::string text = t(context, source);
    if (!text.empty()) return text;
  }
  return source;
}

std::string Fill(std::string_view text, std::initializer_list<std::string> args) {
  const std::string* values = args.begin();
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next >= '1' && next <= '9' && static_cast<std::size_t>(next - '1') < args.size()) {
      out += values[static_cast<std::size_t>(next - '1')];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace cli
