// Profiles in the window: saved and opened in the command line's format,
// refused files, failed saves and profiles of another pedal. Dialogs are
// replaced by the window's seams: the file chooser and the message sink.
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/TabControl.h"
#include "app/tests/PedalWindow.h"
#include "cli/CliCommands.h"
#include "cli/Profile.h"

namespace app {
namespace {

using Slot = sim::PedalFirmware::Slot;

class ProfilesTest : public test::PedalWindow {
protected:
    void SetUp() override
    {
        // The remembered folder goes to a test location, not the user's.
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
    }

    std::string Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    static void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    static std::string ReadText(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The count, each row's text and codes, and the key edit box.
    std::vector<std::string> Table() const
    {
        std::vector<std::string> shown{std::to_string(form->PedalCount()), form->RzEdit1->text().toStdString()};
        for (int row = 0; row < 3; ++row)
            shown.push_back(form->PedalConfigTable.KeyText(row) + " " + form->PedalConfigTable.JoinedCodeText(row));
        return shown;
    }

    // The command line on `cliBus`; its exit code.
    int Cli(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int rc = cli::RunCli(args, cliBus, out, err);
        EXPECT_EQ(rc, 0) << err.str();
        return rc;
    }

    // Starts with `count` pedals read out.
    void StartWithCount(int count)
    {
        StartAndWaitForAnswers();
        form->RzSpinEdit1->setValue(count);
        ASSERT_TRUE(WaitForSends());
        ASSERT_TRUE(WaitFor([&] { return form->PedalConfigTable.KeyText(count - 1) != ""; }));
    }

    QTemporaryDir dir;
    hid::platform::virt::VirtualBus cliBus;
};

TEST_F(ProfilesTest, RoundTripThroughTheCommandLineAndBack)
{
    test::Pedal& pedal = Plug("VK0001");
    pedal.Firmware().SetSlot(1, {0x05, 0x3E, 0x00, 0x00});   // Ctrl+Alt+F5
    StartWithCount(2);
    const std::string saved = Path("saved.json");
    ASSERT_TRUE(form->SaveProfile(QString::fromStdString(saved)));
    EXPECT_TRUE(sink.shown.empty());

    // The command line reads what the window saved and programs another pedal with it.
    const cli::ProfileParseResult read = cli::ParseProfile(ReadText(saved));
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.serial, "VK0001");
    ASSERT_EQ(read.entries.size(), 2u);
    test::Pedal other(cliBus, "VK0002");
    other.Firmware().SetSlot(0, {0, 0, 0, 0});
    Cli({"write", "--file", saved});
    EXPECT_EQ(other.Firmware().GetSlot(0), pedal.Firmware().GetSlot(0));
    EXPECT_EQ(other.Firmware().GetSlot(1), (Slot{0x05, 0x3E, 0x00, 0x00}));

    // Changed there and exported, the profile opens in the window as the user's, to be written in.
    Cli({"write", "--pedal", "2", "Shift+F5"});
    const std::string exported = Path("exported.json");
    Cli({"export", "--count", "2", "--file", exported});
    sink.reply = QMessageBox::Yes;   // another pedal's serial number
    ASSERT_TRUE(form->OpenProfile(QString::fromStdString(exported)));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].icon, QMessageBox::Question);
    EXPECT_TRUE(sink.shown[0].text.contains("SN:VK0002")) << sink.shown[0].text.toStdString();
    EXPECT_EQ(form->PedalConfigTable.KeyText(1), "Shift+F5");
    EXPECT_EQ(form->PedalConfigTable.JoinedCodeText(1), "02-3E-00-00");
    EXPECT_EQ(form->RzEdit1->text(), "Ctrl+C");
    EXPECT_EQ(pedal.Firmware().GetSlot(1), (Slot{0x05, 0x3E, 0x00, 0x00}));   // not yet written in

    QTest::mouseClick(form->RzBitBtn1, Qt::LeftButton);
    ASSERT_TRUE(WaitForBoxes(2));
    EXPECT_EQ(sink.shown.back().text, test::kSetupDone);
    EXPECT_EQ(pedal.Firmware().GetSlot(1), (Slot{0x02, 0x3E, 0x00, 0x00}));
}

// A file that does not parse, names a key the pedal cannot hold, or cannot
// be read is refused with the place and the key; the table stays as it was.
TEST_F(ProfilesTest, RefusedFilesChangeNothing)
{
    Plug();
    StartWithCount(2);
    const std::string head = "{\n  \"serial\": \"VK0001\",\n  \"pedals\": [\n    {\"pedal\":1,\"keys\":\"Shift+B\"}";
    struct Case {
        const char* name;
        std::string text;
        std::vector<QString> told;
    };
    const std::vector<Case> cases{
        {"damaged.json", head + "\n    {\"pedal\":2,\"keys\":\"B\"}\n  ]\n}\n", {"line 5: not valid JSON"}},
        {"unholdable.json", head + ",\n    {\"pedal\":2,\"keys\":\"Ctrl+Key 0x68\"}\n  ]\n}\n",
         {"line 5: pedal 2: key \"Key 0x68\" cannot be given to the pedal"}},
        {"huge.json", head + std::string(2 << 20, ' '), {"larger than"}},
        {"missing.json", "", {"could not be read", "missing.json"}},
    };
    const std::vector<std::string> before = Table();
    for (const Case& c : cases) {
        if (!c.text.empty())
            WriteText(Path(c.name), c.text);
        const std::size_t boxes = sink.shown.size();
        EXPECT_FALSE(form->OpenProfile(QString::fromStdString(Path(c.name)))) << c.name;
        EXPECT_EQ(Table(), before) << c.name;
        ASSERT_EQ(sink.shown.size(), boxes + 1) << c.name;
        EXPECT_EQ(sink.shown.back().icon, QMessageBox::Critical) << c.name;
        for (const QString& part : c.told)
            EXPECT_TRUE(sink.shown.back().text.contains(part)) << c.name << ": " << sink.shown.back().text.toStdString();
    }
}

// A save that cannot be made says why and leaves what was at the place whole.
TEST_F(ProfilesTest, FailedSaveIsShownAndTheOldFileStays)
{
    Plug();
    StartWithCount(1);
    const std::filesystem::path folder = Path("folder");
    std::filesystem::create_directories(folder / "target.json");
    WriteText((folder / "target.json" / "inside").string(), "kept");
    WriteText((folder / "plain").string(), "kept");
    std::filesystem::create_directories(folder / "readonly");
    WriteText((folder / "readonly" / "old.json").string(), "kept");
    std::filesystem::permissions(folder / "readonly", std::filesystem::perms(0555));
    struct Case {
        std::filesystem::path target;
        std::filesystem::path old;   // whose text must stay "kept"
        QString reason;
    };
#ifdef _WIN32
    // The system's reasons are Windows' own; a read-only folder is no folder's mode there.
    std::vector<Case> cases{
        {folder / "target.json", folder / "target.json" / "inside", QString()},
        {folder / "plain" / "p.json", folder / "plain", QString()},
    };
#else
    std::vector<Case> cases{
        {folder / "target.json", folder / "target.json" / "inside", "Is a directory"},
        {folder / "plain" / "p.json", folder / "plain", "Not a directory"},
    };
    if (::geteuid() != 0)   // root writes into any folder
        cases.push_back({folder / "readonly" / "old.json", folder / "readonly" / "old.json", "Permission denied"});
#endif
    for (const Case& c : cases) {
        const std::size_t boxes = sink.shown.size();
        EXPECT_FALSE(form->SaveProfile(QString::fromStdString(c.target.string()))) << c.target;
        ASSERT_EQ(sink.shown.size(), boxes + 1) << c.target;
        EXPECT_EQ(sink.shown.back().icon, QMessageBox::Critical);
        EXPECT_TRUE(sink.shown.back().text.contains(c.reason)) << sink.shown.back().text.toStdString();
        EXPECT_EQ(ReadText(c.old.string()), "kept") << c.target;
    }
    std::filesystem::permissions(folder / "readonly", std::filesystem::perms(0755));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        left.push_back(entry.path().lexically_relative(folder).generic_string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"plain", "readonly", "readonly/old.json", "target.json",
                                              "target.json/inside"}));
}

// Another pedal's serial number or another count is asked about first; No
// changes nothing. A file dropped onto the window opens the same way.
TEST_F(ProfilesTest, AnotherPedalOrCountIsAskedFirst)
{
    Plug("VK0001");
    StartWithCount(1);
    struct Case {
        const char* serialMember;
        int count;
        QMessageBox::StandardButton reply;
        bool asked;
        bool drop;
    };
    const std::vector<Case> cases{
        {"\"serial\":\"VK0002\",", 1, QMessageBox::No, true, false},
        {"", 3, QMessageBox::No, true, true},
        {"\"serial\":\"VK0001\",", 1, QMessageBox::No, false, true},
        {"\"serial\":\"VK0002\",", 2, QMessageBox::Yes, true, false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        std::string text = std::string("{") + c.serialMember + "\"pedals\":[";
        for (int pedal = 1; pedal <= c.count; ++pedal)
            text += (pedal > 1 ? "," : "") + std::string("{\"pedal\":") + std::to_string(pedal) +
                    ",\"keys\":\"F" + std::to_string(pedal + i) + "\"}";
        const QString file = QString::fromStdString(Path(("p" + std::to_string(i) + ".json").c_str()));
        WriteText(file.toStdString(), text + "]}");
        const std::vector<std::string> before = Table();
        const std::size_t boxes = sink.shown.size();
        sink.reply = c.reply;
        if (c.drop) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(file)});
            QDragEnterEvent enter(QPoint(200, 150), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(form.get(), &enter);
            EXPECT_TRUE(enter.isAccepted()) << i;
            QDropEvent drop(QPointF(200, 150), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(form.get(), &drop);
        } else {
            form->OpenProfile(file);
        }
        EXPECT_EQ(sink.shown.size(), boxes + (c.asked ? 1 : 0)) << i;
        const bool taken = !c.asked || c.reply == QMessageBox::Yes;
        if (!taken) {
            EXPECT_EQ(Table(), before) << i;
            continue;
        }
        EXPECT_EQ(form->PedalCount(), c.count) << i;
        for (int row = 0; row < c.count; ++row)
            EXPECT_EQ(form->PedalConfigTable.KeyText(row), "F" + std::to_string(row + 1 + i)) << i;
        EXPECT_EQ(form->RzTabControl1->tabCount() > 0 && form->RzTabControl1->isTabVisible(c.count - 1), true);
    }
}

}  // namespace
}  // namespace app
