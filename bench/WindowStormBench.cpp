// Answer storm in the window: the real main window, in Qt's own event loop
// (offscreen platform), on the virtual bus with one simulated pedal, while a
// feeder thread injects configuration answers (02 81 00 01 06 00 00 00: pedal
// 1, Ctrl+C) at a given rate. Every answer runs the window's data handler:
// decoding, table update, key edit box, history line. A 10 ms timer on the
// main thread records how late each tick fires, that is the time the loop
// could not react.
//
// Prints per rate (key value lines, as the other benchmarks): reports
// injected and handled per second, the longest and p99 timer delay, timer
// ticks fired of those expected, the time to work off the backlog after the
// storm, the history list's size and the process's resident memory at the
// end. The window is made once, so the history grows from rate to rate, up
// to its limit.
//
// Usage: window_storm_bench [--alternate] [SECONDS] [RATE...]   rate 0 = as
// fast as the window takes them (at most 64 waiting, as in the kernel's hidraw
// buffer); defaults: 3 s, rates 1000 10000 0. The same answer again leaves the
// key edit box's text as it is, so its change handler does not run; with
// --alternate every other answer is Ctrl+V (02 81 00 01 19 ..), so each one
// changes the text and runs it (figures named window_storm_alt_...).
#include <QAbstractItemModel>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/WindowBench.h"

namespace {

using bench::Clock;
using bench::Ms;

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    int arg = 1;
    const bool alternate = argc > 1 && std::string(argv[1]) == "--alternate";
    if (alternate)
        ++arg;
    const int seconds = argc > arg ? std::max(1, std::atoi(argv[arg])) : 3;
    std::vector<long> rates;
    for (int i = arg + 1; i < argc; ++i)
        rates.push_back(std::atol(argv[i]));
    if (rates.empty())
        rates = {1000, 10000, 0};

    bench::BenchWindow window("storm");
    app::TMainForm* form = window.form.get();
    bench::CountingSink& sink = window.sink;
    if (!window.Ready("window_storm_bench"))
        return 1;
    bench::RunLoopFor(300);  // the rest of the read-out's answers
    if (sink.shown > 0)
        std::fprintf(stderr, "window_storm_bench: %d message box(es) at start-up, last: %s\n", sink.shown,
                     sink.last.toLocal8Bit().constData());

    // Every history line the window adds, counted as it is added (main thread).
    std::atomic<std::uint64_t> lines{0};
    QObject::connect(form->HistoryListBox->model(), &QAbstractItemModel::rowsInserted, form,
                     [&lines](const QModelIndex&, int first, int last) {
                         lines.fetch_add(static_cast<std::uint64_t>(last - first + 1));
                     });

    // How often the key edit box's text changed (its change handler ran).
    std::uint64_t keyTextChanges = 0;
    QObject::connect(form->RzEdit1, &QLineEdit::textChanged, form,
                     [&keyTextChanges](const QString&) { ++keyTextChanges; });

    const std::vector<std::uint8_t> answer{0x02, 0x81, 0x00, 0x01, 0x06, 0x00, 0x00, 0x00};
    const std::vector<std::uint8_t> other{0x02, 0x81, 0x00, 0x01, 0x19, 0x00, 0x00, 0x00};
    const auto next = [&](std::uint64_t n) -> const std::vector<std::uint8_t>& {
        return alternate && n % 2 == 1 ? other : answer;
    };
    const auto device = window.pedal.Device();

    for (const long rate : rates) {
        // The 10 ms timer: each tick's delay is its gap to the previous tick
        // beyond the interval.
        std::vector<double> delays;
        delays.reserve(static_cast<std::size_t>(seconds) * 200);
        std::uint64_t fired = 0;
        Clock::time_point lastTick{};
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const auto now = Clock::now();
            if (fired > 0)
                delays.push_back(std::max(0.0, Ms(now - lastTick) - 10.0));
            lastTick = now;
            ++fired;
        });

        const std::uint64_t linesBefore = lines.load();
        std::atomic<bool> stop{false};
        std::atomic<std::uint64_t> injected{0};
        std::thread feeder([&] {
            const auto start = Clock::now();
            while (!stop.load()) {
                if (rate <= 0) {
                    if (injected.load() - (lines.load() - linesBefore) < 64) {
                        device->InjectInput(next(injected.load()));
                        ++injected;
                    } else {
                        std::this_thread::yield();
                    }
                    continue;
                }
                // Catch up with the schedule once a millisecond.
                const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
                while (static_cast<double>(injected.load()) < elapsed * static_cast<double>(rate)) {
                    device->InjectInput(next(injected.load()));
                    ++injected;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });

        const auto t0 = Clock::now();
        ticker.start();
        std::uint64_t handledDuringStorm = 0;
        double elapsed = 0;
        {
            QEventLoop loop;
            QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, [&] {
                handledDuringStorm = lines.load() - linesBefore;
                elapsed = std::chrono::duration<double>(Clock::now() - t0).count();
                stop = true;
                loop.quit();
            });
            loop.exec();
        }
        ticker.stop();
        feeder.join();

        // Work off what is still queued in the device's read handle.
        const auto drainStart = Clock::now();
        const bool drained =
            bench::WaitFor([&] { return lines.load() - linesBefore >= injected.load(); }, 120000);
        const double drainMs = Ms(Clock::now() - drainStart);

        std::sort(delays.begin(), delays.end());
        const double longest = delays.empty() ? 0.0 : delays.back();
        const double p99 =
            delays.empty() ? 0.0
                           : delays[std::min(delays.size() - 1,
                                             static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(
                                                                                           delays.size()))) -
                                                 1)];

        const std::string name =
            (alternate ? "alt_" : "") + (rate <= 0 ? std::string("max") : std::to_string(rate));
        std::printf("window_storm_%s_injected_per_s %.0f\n", name.c_str(),
                    static_cast<double>(injected.load()) / elapsed);
        std::printf("window_storm_%s_handled_per_s %.0f\n", name.c_str(),
                    static_cast<double>(handledDuringStorm) / elapsed);
        std::printf("window_storm_%s_longest_timer_delay_ms %.2f\n", name.c_str(), longest);
        std::printf("window_storm_%s_p99_timer_delay_ms %.2f\n", name.c_str(), p99);
        std::printf("window_storm_%s_timer_ticks %llu_of_%d\n", name.c_str(),
                    static_cast<unsigned long long>(fired), static_cast<int>(elapsed * 100));
        std::printf("window_storm_%s_backlog_drain_ms %.0f%s\n", name.c_str(), drainMs,
                    drained ? "" : "_(not_drained)");
        std::printf("window_storm_%s_history_lines %d\n", name.c_str(), form->HistoryListBox->count());
        std::printf("window_storm_%s_rss_mib %.1f\n", name.c_str(), bench::ResidentMiB());
        std::fflush(stdout);
    }

    // What the answers left in the window (on stderr, out of the figures).
    std::fprintf(stderr, "window_storm_bench: %llu answers in all, key edit box text changed %llu times\n",
                 static_cast<unsigned long long>(lines.load()), static_cast<unsigned long long>(keyTextChanges));
    std::fprintf(stderr, "window_storm_bench: key edit box \"%s\", codes \"%s\", last history line \"%s\"\n",
                 form->RzEdit1->text().toLocal8Bit().constData(), form->Edit2->text().toLocal8Bit().constData(),
                 form->HistoryListBox->currentItem() != nullptr
                     ? form->HistoryListBox->currentItem()->text().toLocal8Bit().constData()
                     : "");
    if (sink.shown > 0)
        std::fprintf(stderr, "window_storm_bench: %d message box(es) in all\n", sink.shown);
    return 0;
}
