// Win32 error codes, for the layer above: errno-style codes (EACCES for a
// refused open drives the access advice) and readable texts.
#pragma once

#include <string>

#include "hid/platform/windows/Win32.h"

namespace hid::platform::windows {

// The errno-style code for a Win32 error code; EIO for codes without a closer one.
int ErrnoFromWin32(DWORD code);

// "<what>: <the system's text> (error <code>)", in UTF-8.
std::string Win32ErrorText(const std::string& what, DWORD code);
// The system's text for `code` (FormatMessage, in the user's language), in
// UTF-8 without the line end; empty when the system has none.
std::string Win32SystemText(DWORD code);

// UTF-16 text to UTF-8.
std::string Utf8FromWide(const wchar_t* text, std::size_t length);

}  // namespace hid::platform::windows
