// Event-loop stalls of the real main window (see WindowBench.h) while it
// talks to the pedal, and its memory under a flood of answers.
//
// Scenarios, each measured with a StallProbe (longest stall = the longest
// single event delivery; own stall = the same without the time the thread
// was preempted; timer delay = how late a 1 ms timer fires):
//   readout  "Read out" with a count of 3, until the three answers are in
//            and the pause after the last request is over; 5 times
//   writein  "Write in" with a count of 3, until its box and the pause
//            after the last report; 5 times
//   silent   a pedal that never answers, for 5 s: Timer1 repeats the
//            read-out of three every 500 ms
//   stuck    a pedal that never takes a write: "Write in" with a count of
//            3, each report given up after the write time limit, until
//            its failure box; 3 times
//   flood    100,000 answers/s offered for 3 s; the reader's buffer holds
//            64 reports, as the kernel's hidraw buffer does, and drops more
// Then the resident memory when idle and after a million answers (taken as
// fast as the window takes them).
//
// Prints key value lines, as the other benchmarks. Usage:
// window_stall_bench [FLOOD_SECONDS] [MILLION]   (defaults 3, 1000000)
#include <QAbstractItemModel>
#include <QMetaObject>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/StallProbe.h"
#include "bench/WindowBench.h"

namespace {

constexpr std::size_t kReaderBuffer = 64;
constexpr int kLimitMs = 60000;

// Runs `handler` from the event loop, as a click does, so the probe times it.
void Click(app::TMainForm& form, void (app::TMainForm::*handler)())
{
    QMetaObject::invokeMethod(&form, [&form, handler] { (form.*handler)(); }, Qt::QueuedConnection);
}

void Print(const std::string& scenario, bench::StallProbe& probe)
{
    std::printf("window_stall_%s_longest_stall_ms %.2f\n", scenario.c_str(), probe.LongestStallMs());
    std::printf("window_stall_%s_longest_own_stall_ms %.2f\n", scenario.c_str(), probe.LongestOwnStallMs());
    std::printf("window_stall_%s_longest_timer_delay_ms %.2f\n", scenario.c_str(), probe.LongestTimerDelayMs());
    std::printf("window_stall_%s_p99_timer_delay_ms %.2f\n", scenario.c_str(), probe.P99TimerDelayMs());
    std::fflush(stdout);
    std::fprintf(stderr, "window_stall_bench: %s: longest stall in %s\n", scenario.c_str(),
                 probe.LongestWhat().c_str());
}

// Answers offered by a feeder thread at `rate` per second (0: as fast as
// the window takes them), never more than the reader's buffer waiting.
class Feeder {
public:
    Feeder(hid::platform::virt::VirtualDevice& device, long rate, const std::atomic<std::uint64_t>& handled)
        : thread_([this, &device, rate, &handled] { Run(device, rate, handled); })
    {
    }
    ~Feeder() { Stop(); }

    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    std::uint64_t Offered() const { return offered_.load(); }
    std::uint64_t Taken() const { return taken_.load(); }

private:
    void Run(hid::platform::virt::VirtualDevice& device, long rate, const std::atomic<std::uint64_t>& handled)
    {
        const std::vector<std::uint8_t> answer{0x02, 0x81, 0x00, 0x01, 0x06, 0x00, 0x00, 0x00};
        const std::uint64_t handledBefore = handled.load();
        const auto start = bench::Clock::now();
        while (!stop_.load()) {
            const double elapsed = std::chrono::duration<double>(bench::Clock::now() - start).count();
            const auto due = rate > 0 ? static_cast<std::uint64_t>(elapsed * static_cast<double>(rate))
                                      : offered_.load() + kReaderBuffer;
            while (offered_.load() < due) {
                ++offered_;
                if (taken_.load() - (handled.load() - handledBefore) < kReaderBuffer) {
                    device.InjectInput(answer);
                    ++taken_;
                }
            }
            if (rate > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            else
                std::this_thread::yield();
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> offered_{0};
    std::atomic<std::uint64_t> taken_{0};
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    bench::ProbedApplication application(argc, argv);
    const int floodSeconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::uint64_t million = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1000000;

    bench::BenchWindow window("stall");
    app::TMainForm& form = *window.form;
    if (!window.Ready("window_stall_bench"))
        return 1;
    bench::StallProbe probe;
    application.probe = &probe;

    // Every history line the window adds (a report sent or received).
    std::atomic<std::uint64_t> lines{0};
    QObject::connect(form.HistoryListBox->model(), &QAbstractItemModel::rowsInserted, &form,
                     [&lines](const QModelIndex&, int first, int last) {
                         lines.fetch_add(static_cast<std::uint64_t>(last - first + 1));
                     });
    const auto settled = [&form] { return !form.ExchangesPending(); };

    form.RzSpinEdit1->setValue(3);
    bench::WaitFor(settled, kLimitMs);
    bench::RunLoopFor(500);
    const double idleMiB = bench::ResidentMiB();

    // A read-out of three: three requests, three answers (six lines).
    probe.Start();
    for (int i = 0; i < 5; ++i) {
        const std::uint64_t before = lines.load();
        Click(form, &app::TMainForm::RzBitBtn2Click);
        bench::WaitFor([&] { return settled() && lines.load() >= before + 6; }, kLimitMs);
    }
    probe.Stop();
    Print("readout", probe);

    // A write-in of three, until its box.
    probe.Start();
    for (int i = 0; i < 5; ++i) {
        const int boxes = window.sink.shown;
        Click(form, &app::TMainForm::RzBitBtn1Click);
        bench::WaitFor([&] { return settled() && window.sink.shown > boxes; }, kLimitMs);
    }
    probe.Stop();
    Print("writein", probe);
    if (window.sink.last != QStringLiteral("Write in: Setup Done!"))
        std::fprintf(stderr, "window_stall_bench: the write-in said \"%s\"\n",
                     window.sink.last.toLocal8Bit().constData());

    // A pedal that does not answer: the read-out is repeated every 500 ms.
    window.pedal.Firmware().SetOptions({.silent = true});
    form.ReadPending = true;
    form.Timer1->start();
    const unsigned requests = window.pedal.Firmware().ReadRequestCount();
    probe.Start();
    bench::RunLoopFor(5000);
    probe.Stop();
    Print("silent", probe);
    std::printf("window_stall_silent_read_requests %u\n", window.pedal.Firmware().ReadRequestCount() - requests);
    window.pedal.Firmware().SetOptions({});
    bench::WaitFor([&] { return !form.ReadPending && settled(); }, kLimitMs);

    // A pedal that takes no report at all: every write runs into its limit.
    window.pedal.Device()->SetWriteFailure({0, true, EIO, true});
    probe.Start();
    for (int i = 0; i < 3; ++i) {
        const int boxes = window.sink.shown;
        Click(form, &app::TMainForm::RzBitBtn1Click);
        bench::WaitFor([&] { return settled() && window.sink.shown > boxes; }, kLimitMs);
    }
    probe.Stop();
    Print("stuck", probe);
    if (!window.sink.last.contains(QStringLiteral("not written")))
        std::fprintf(stderr, "window_stall_bench: the write-in to a stuck pedal said \"%s\"\n",
                     window.sink.last.toLocal8Bit().constData());
    window.pedal.Device()->SetWriteFailure({});

    // A flood of answers.
    {
        const auto device = window.pedal.Device();
        const std::uint64_t before = lines.load();
        probe.Start();
        const auto start = bench::Clock::now();
        Feeder feeder(*device, 100000, lines);
        bench::RunLoopFor(floodSeconds * 1000);
        feeder.Stop();
        const double seconds = std::chrono::duration<double>(bench::Clock::now() - start).count();
        const std::uint64_t handled = lines.load() - before;
        probe.Stop();
        Print("flood", probe);
        std::printf("window_stall_flood_offered_per_s %.0f\n", static_cast<double>(feeder.Offered()) / seconds);
        std::printf("window_stall_flood_handled_per_s %.0f\n", static_cast<double>(handled) / seconds);
        bench::WaitFor([&] { return lines.load() - before >= feeder.Taken(); }, kLimitMs);
    }

    // Memory: a million answers more.
    {
        const auto device = window.pedal.Device();
        const std::uint64_t before = lines.load();
        Feeder feeder(*device, 0, lines);
        bench::WaitFor([&] { return lines.load() - before >= million; }, 600000);
        feeder.Stop();
        bench::WaitFor([&] { return lines.load() - before >= feeder.Taken(); }, kLimitMs);
        const double afterMiB = bench::ResidentMiB();
        std::printf("window_stall_rss_idle_mib %.1f\n", idleMiB);
        std::printf("window_stall_rss_after_answers_mib %.1f\n", afterMiB);
        std::printf("window_stall_rss_ratio %.2f\n", afterMiB / idleMiB);
        std::printf("window_stall_answers_handled %llu\n", static_cast<unsigned long long>(lines.load() - before));
        std::printf("window_stall_history_lines %d\n", form.HistoryListBox->count());
    }
    application.probe = nullptr;
    return 0;
}
