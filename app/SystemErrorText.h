// The system's own words for a failure, as the boxes quote them. Linux
// (SystemErrorTextPosix.cpp) has errno and its strerror text; Windows
// (windows/SystemErrorTextWindows.cpp) has the Win32 error behind the
// errno-style code and its FormatMessage text.
#pragma once

#include <QString>

#include <cstdint>

namespace app {

struct SystemErrorWords {
    // The system's text: "Device or resource busy", or "The process cannot
    // access the file because it is being used by another process."
    QString text;
    // The code as the user may quote it: "error 16", "Win32 error 32".
    QString code;
    // Whether the code is the platform's own (a Win32 error): worth showing
    // also where the errno number would say nothing.
    bool nativeCode = false;
    // The likely cause, as a sentence, where the error points at one; else
    // empty.
    QString cause;
};

// `error` errno-style, `native` the platform's own code behind it (0: none).
SystemErrorWords DescribeSystemError(int error, std::uint32_t native);

// "<text> (<code>)", closed with a full stop unless the text has one.
QString SystemErrorWithCode(const SystemErrorWords& words);

}  // namespace app
