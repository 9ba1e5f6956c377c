// The real main window for the window benchmarks: made, created and shown as
// the program does, in Qt's own loop on the offscreen platform, on the
// virtual bus with one simulated pedal. Message boxes go to a counting sink
// (nothing may block the loop); the hook library is the window tests'
// recording stand-in, so that the window's creation runs whole.
#pragma once

#include <unistd.h>

#include <sys/mman.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "app/MessageSink.h"
#include "app/demo/SimulatedPedal.h"
#include "hid/platform/virtual/VirtualBus.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Runs the Qt event loop until `done` holds (tested every millisecond) or
// `limitMs` passed; returns done().
inline bool WaitFor(const std::function<bool()>& done, int limitMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(1);
    QTimer::singleShot(limitMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// Runs the Qt event loop for `ms` milliseconds.
inline void RunLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

inline double ResidentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// Counts the window's message boxes instead of showing them.
class CountingSink final : public app::MessageSink {
public:
    QMessageBox::StandardButton Show(QWidget*, QMessageBox::Icon, const QString& title,
                                     const QString& text, QMessageBox::StandardButtons) override
    {
        ++shown;
        last = title + QStringLiteral(": ") + text;
        return QMessageBox::Ok;
    }
    int shown = 0;
    QString last;
};

class BenchWindow {
public:
    // `name` makes the shared block's name this process's own.
    explicit BenchWindow(const std::string& name)
        : block_("/varnok-bench-" + std::to_string(getpid()) + "-" + name)
    {
        form = std::make_unique<app::TMainForm>(bus);
        form->SetMessageSink(&sink);
#ifdef BENCH_HOOK_FOLDER
        form->SetHookLibraryFolder(QStringLiteral(BENCH_HOOK_FOLDER));
#endif
        form->SetHookBlockName(block_);
        form->RunFormCreate();
        form->show();
    }
    ~BenchWindow()
    {
        form.reset();   // before the pedal and the bus
        shm_unlink(block_.c_str());
    }
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    // Waits for the first scan, the pedal's first answers and the end of the
    // first read-outs. False (and a line on stderr) when that did not happen.
    bool Ready(const char* program)
    {
        const bool ready = WaitFor([this] { return bus.ScanCount() >= 1; }, 10000) &&
                           WaitFor([this] {
                               return !form->ReadPending && !form->ExchangesPending() &&
                                      form->HistoryListBox->count() > 0;
                           }, 10000);
        if (!ready)
            std::fprintf(stderr, "%s: the pedal was not found or did not answer\n", program);
        return ready;
    }

    hid::platform::virt::VirtualBus bus;   // outlives the pedal and the window
    app::demo::SimulatedPedal pedal{bus};
    CountingSink sink;
    std::unique_ptr<app::TMainForm> form;

private:
    std::string block_;
};

}  // namespace bench
