// Whatever the process writes to stderr (the hook library's one-line
// reports) while an object of this class lives, for the test to read.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace hooktest {

// What the library writes to stderr while this object lives.
class StderrCapture {
public:
    StderrCapture() : path_(testing::TempDir() + "hookmod-stderr.txt") {
        std::fflush(stderr);
        saved_ = dup(2);
        file_ = std::fopen(path_.c_str(), "w");
        if (file_ != nullptr) dup2(fileno(file_), 2);
    }
    ~StderrCapture() { Text(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    // Ends the capture and returns what was written.
    std::string Text() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, 2);
            close(saved_);
            saved_ = -1;
            if (file_ != nullptr) std::fclose(file_);
            std::ifstream in(path_);
            text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            std::remove(path_.c_str());
        }
        return text_;
    }

private:
    std::string path_;
    int saved_ = -1;
    std::FILE* file_ = nullptr;
    std::string text_;
};

}  // namespace hooktest
