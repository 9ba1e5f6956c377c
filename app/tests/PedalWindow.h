// The main window on a virtual HID bus with simulated pedals, driven through
// the event loop as the program runs it. Message boxes are recorded, the
// hook library is the recording fixture (it counts HookOn / HookOff).
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/demo/SimulatedPedal.h"
#include "app/tests/HookFixtures.h"
#include "app/tests/RecordingSink.h"
#include "hookmod/HookMessages.h"
#include "hid/platform/virtual/VirtualBus.h"

namespace app::test {

using hid::platform::virt::VirtualDeviceDescription;
using Pedal = demo::SimulatedPedal;

// The box after a write-in of the pedal the fixture plugs by default.
inline const QString kSetupDone = QStringLiteral("Setup Done!\n\nFoot switch SN:VK0001");

class PedalWindow : public ::testing::Test {
protected:
    void TearDown() override
    {
        form.reset();   // before the pedals and the bus it uses
        pedals.clear();
        RemoveBlock(block);
    }

    Pedal& Plug(const std::string& serial = "VK0001")
    {
        pedals.push_back(std::make_unique<Pedal>(bus, serial));
        return *pedals.back();
    }
    Pedal& Plug(VirtualDeviceDescription description)
    {
        pedals.push_back(std::make_unique<Pedal>(bus, std::move(description)));
        return *pedals.back();
    }

    // Makes, creates and shows the window, and waits for its first scan.
    void Start()
    {
        form = std::make_unique<TMainForm>(bus);
        form->SetMessageSink(&sink);
        form->SetHookLibraryFolder(RecordingHookFolder());
        form->SetHookBlockName(block);
        form->RunFormCreate();
        ASSERT_TRUE(sink.shown.empty());
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_TRUE(WaitForScans(1));
    }

    // Starts and waits until the pedal answered and the read-outs of the
    // first scan went out.
    void StartAndWaitForAnswers()
    {
        Start();
        ASSERT_TRUE(WaitFor([this] { return !form->ReadPending && !form->ExchangesPending(); }));
    }

    // Runs the event loop until `done` holds; false after a generous limit.
    static bool WaitFor(const std::function<bool()>& done, int limitMs = 10000)
    {
        return QTest::qWaitFor(done, limitMs);
    }
    // Until the window handled `count` scans in all (a scan runs whole
    // inside one turn of the loop).
    bool WaitForScans(unsigned count)
    {
        return WaitFor([this, count] { return bus.ScanCount() >= count; });
    }
    // Until the window handled one more scan than now.
    bool WaitForNextScan() { return WaitForScans(bus.ScanCount() + 1); }
    // Lets queued work (answers, deferred boxes) run.
    static void Settle() { QTest::qWait(100); }
    // Until every queued report went out and the pause after the last is over.
    bool WaitForSends()
    {
        return WaitFor([this] { return !form->ExchangesPending(); });
    }
    // Until `count` message boxes in all were shown.
    bool WaitForBoxes(std::size_t count)
    {
        return WaitFor([this, count] { return sink.shown.size() >= count; });
    }

    QStringList History() const
    {
        QStringList lines;
        for (int row = 0; row < form->HistoryListBox->count(); ++row)
            lines << form->HistoryListBox->item(row)->text();
        return lines;
    }
    // History lines from `from` on that start with `prefix` ("W" or "R").
    QStringList HistoryLines(const QString& prefix, int from = 0) const
    {
        QStringList lines;
        const QStringList all = History();
        for (int row = from; row < all.size(); ++row)
            if (all[row].startsWith(prefix))
                lines << all[row];
        return lines;
    }

    // One key event of the keyboard hook, by set-1 scan code.
    void Key(std::uint32_t scan, bool press)
    {
        std::uint32_t data = 1u | (scan << hookmsg::kScanCodeShift);
        if (!press)
            data |= hookmsg::kPreviousStateBit | hookmsg::kReleaseBit;
        form->OnHookMessage(hookmsg::kHookKeyMessage, press ? hookmsg::kKeyDown : hookmsg::kKeyUp, data);
    }
    // Ctrl+A for the selected pedal, as the keyboard hook delivers it to
    // the focused key edit box.
    void CaptureCtrlA()
    {
        form->RzEdit1->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(WaitFor([this] { return form->RzEdit1->hasFocus(); }));
        Key(0x1D, true);
        Key(0x1E, true);
        Key(0x1E, false);
        Key(0x1D, false);
    }

    int HookOffs() const { return HookOffCalls(RecordingHookFolder()); }
    int HookOns() const { return HookOnCalls(RecordingHookFolder()); }

    hid::platform::virt::VirtualBus bus;
    std::vector<std::unique_ptr<Pedal>> pedals;
    RecordingSink sink;
    std::string block = PrivateBlockName("cycle");
    std::unique_ptr<TMainForm> form;
};

}  // namespace app::test
