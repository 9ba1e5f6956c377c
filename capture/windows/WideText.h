// UTF-8 / UTF-16 conversion and system error texts for capture's Windows files.
#pragma once

#include <windows.h>

#include <string>

namespace capture {

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
// "<what>: <the system's message> (error <code>)", in UTF-8.
std::string SystemErrorText(const std::string& what, DWORD code);

}  // namespace capture
