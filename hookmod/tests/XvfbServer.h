// A private Xvfb for the test process: started with -displayfd, ended by pid.
#pragma once

#include <sys/types.h>

#include <string>

namespace hooktest {

class XvfbServer {
public:
    ~XvfbServer();
    // True when an Xvfb binary is on PATH.
    static bool Installed();
    // Starts the server and waits (bounded) until it is ready; the display
    // name is then e.g. ":3". False with a reason in `error` otherwise.
    bool Start(std::string& error);
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace hooktest
