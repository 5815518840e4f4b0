// The settings dialog with its file and record pages: what the pages show from the stored
// settings, what OK and X store, page switching, keys, dragging and the folder browser.
#include "recorder/devices/dialog/CSettingDlg_Volume.h"
#include "recorder/settings/QualityPresets.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/SettingsValues.h"
#include "recorder/settings/dialog/CSettingDlg_FileOut.h"
#include "recorder/settings/dialog/CSettingDlg_Record.h"
#include "recorder/settings/dialog/StarOptionDlg.h"
#include "tests/support/HiveEnv.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/GuiHelpers.h"
#include "ui/CHoverButton.h"
#include "ui/DialogResult.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <vector>

using namespace quortest::gui;

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override { TheRecorderSettings() = RecorderSettings{}; }
    void TearDown() override { CSettingDlg_FileOut::SetFolderChooser({}); }

    // Runs the dialog modally; `act` drives it once it is on screen and must close it.
    static int RunModal(StarOptionDlg& dialog, const std::function<void()>& act) {
        QTimer::singleShot(0, &dialog, act);
        return dialog.DoModal();
    }
    static QComboBox* Combo(QWidget* dialog, const char* id) { return FindControlAs<QComboBox>(dialog, id); }
    static QStringList Items(QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
    static QStringList PresetLabels(int fileType) {
        QStringList labels;
        for (const QualityPreset& preset : PresetsForFileType(fileType)->rows)
            labels << QString::fromUtf8(preset.label.data(), static_cast<qsizetype>(preset.label.size()));
        return labels;
    }
    // A check box takes clicks on its box and caption only, not on the rest of its width.
    static void ClickCheck(QWidget* root, const char* id) {
        QWidget* box = FindControl(root, id);
        ASSERT_TRUE(box && box->isVisible()) << id;
        ClickAt(box, QPoint(8, box->height() / 2));
    }
    std::string HiveText() const { return quortest::ReadFile(hive.HivePath()); }

    quortest::HiveEnv hive;
};

TEST_F(SettingsDialog, FilePageShowsTheStoredFormatPresetFolderAndOptions) {
    quortest::TempDir folder;
    WriteFileTypeSel(1);
    WriteFileSettingSel(3);
    WriteSavePath(folder.str());
    WriteAutoFileName(0);
    WriteCkMP3ID3V1(1);

    StarOptionDlg dialog(&CSettingDlg_Volume::Create, nullptr);
    EXPECT_EQ(Combo(&dialog, "IDC_COMBO_FILETYPE")->currentText(), "WAVE");
    EXPECT_EQ(Items(Combo(&dialog, "IDC_COMBO_FILETYPE")), QStringList({"MP3", "WAVE"}));
    QComboBox* quality = Combo(&dialog, "IDC_COMBO_FILESETTING");
    EXPECT_EQ(quality->currentText(), "22050Hz 16bit STEREO");
    EXPECT_EQ(Items(quality), PresetLabels(1));
    auto* path = FindControlAs<QLineEdit>(&dialog, "IDC_EDIT_SAVEPATH");
    EXPECT_EQ(path->text().toStdString(), folder.str());
    EXPECT_EQ(path->toolTip().toStdString(), folder.str());
    EXPECT_FALSE(FindControlAs<QCheckBox>(&dialog, "IDC_CHK_AUTOFILENAME")->isChecked());
    EXPECT_TRUE(FindControlAs<QCheckBox>(&dialog, "IDC_CHK_MP3ID3V1")->isChecked());
    EXPECT_EQ(Combo(&dialog, "IDC_COMBO_FILETYPE")->toolTip(), "파일 저장 형식 선택");
    EXPECT_EQ(quality->toolTip(), "파일 세부 옵션 설정");
}

TEST_F(SettingsDialog, SwitchingToMp3ListsItsPresetsAndOkStoresTheFirst) {
    WriteFileTypeSel(1);
    WriteFileSettingSel(3);
    StarOptionDlg dialog(&CSettingDlg_Volume::Create, nullptr);
    QComboBox* quality = Combo(&dialog, "IDC_COMBO_FILESETTING");
    const int result = RunModal(dialog, [&] {
        Combo(&dialog, "IDC_COMBO_FILETYPE")->setCurrentIndex(0);
        EXPECT_EQ(Items(quality), PresetLabels(0));
        EXPECT_EQ(quality->count(), 8);
        EXPECT_EQ(quality->currentText(), "320KBps, 44100Hz, STEREO");
        Click(&dialog, "IDC_BTN_OK");
    });
    EXPECT_EQ(result, ui::IDOK);
    int32_t type = -1, setting = -1;
    ReadFileTypeSel(type);
    ReadFileSettingSel(setting);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(setting, 0);
    EXPECT_EQ(TheRecorderSettings().fileType, 0);
    EXPECT_EQ(TheRecorderSettings().fileSetting, 0);
}

TEST_F(SettingsDialog, CloseAfterChangesStoresNothing) {
    WriteFileTypeSel(1);
    WriteFileSettingSel(3);
    WriteCkTopmost(1);
    const std::string before = HiveText();
    bool applied = false;
    StarOptionDlg other(&CSettingDlg_Volume::Create, [&] { applied = true; });
    const int result = RunModal(other, [&] {
        Combo(&other, "IDC_COMBO_FILETYPE")->setCurrentIndex(0);
        Combo(&other, "IDC_COMBO_FILESETTING")->setCurrentIndex(5);
        FindControlAs<QCheckBox>(&other, "IDC_CHK_AUTOFILENAME")->click();
        FindControlAs<QCheckBox>(&other, "IDC_CHK_TOPMOST")->click();
        Click(&other, "IDC_BTN_CLOSE");
    });
    EXPECT_EQ(result, ui::IDCANCEL);
    EXPECT_FALSE(applied);
    EXPECT_EQ(HiveText(), before) << "X writes nothing";
    EXPECT_EQ(TheRecorderSettings().fileType, 1);
}

TEST_F(SettingsDialog, OkCommitsThePagesSavesAndThenAsksTheOwnerToApply) {
    quortest::TempDir folder;
    WriteSavePath(folder.str());
    WriteCkTopmost(0);
    WriteCkSysSoundOff(1);
    TheRecorderSettings().tagOpen = 1; // in the record only: Save stores it

    int applied = 0;
    StarOptionDlg dialog(&CSettingDlg_Volume::Create, [&] {
        ++applied;
        // What the owner's reload reads: every page's commit and the record's save are stored.
        EXPECT_EQ(ReadCkTopmost(7), 1);
        EXPECT_EQ(ReadCkSysSoundOff(7), 0);
        EXPECT_EQ(ReadAutoFileName(7), 0);
        EXPECT_EQ(ReadCkMP3ID3V1(7), 1);
        EXPECT_EQ(ReadCkAutoStop(7), 0) << "Save ran before the reload";
        std::string path;
        ReadSavePath(path);
        EXPECT_EQ(path, folder.str());
    });
    auto* topmost = FindControlAs<QCheckBox>(&dialog, "IDC_CHK_TOPMOST");
    auto* sysSound = FindControlAs<QCheckBox>(&dialog, "IDC_CHK_SYSSOUNDOFF");
    EXPECT_FALSE(topmost->isChecked());
    EXPECT_TRUE(sysSound->isChecked());
    const int result = RunModal(dialog, [&] {
        dialog.ShowPage(StarOptionDlgIds::IDC_BTN_PAGE_RECORD);
        ClickCheck(&dialog, "IDC_CHK_TOPMOST");
        ClickCheck(&dialog, "IDC_CHK_SYSSOUNDOFF");
        dialog.ShowPage(StarOptionDlgIds::IDC_BTN_PAGE_FILE);
        ClickCheck(&dialog, "IDC_CHK_AUTOFILENAME");
        ClickCheck(&dialog, "IDC_CHK_MP3ID3V1");
        Click(&dialog, "IDC_BTN_OK");
    });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(dialog.isVisible());
    const RecorderSettings& settings = TheRecorderSettings();
    EXPECT_EQ(settings.topmost, 1);
    EXPECT_EQ(settings.sysSoundOff, 0);
    EXPECT_EQ(settings.savePath, folder.str());
    EXPECT_EQ(settings.channels, 2);
    EXPECT_EQ(settings.bitsPerSample, 16);
}

TEST_F(SettingsDialog, OpensOnTheFilePageWithItsButtonHeldAndTheRecordButtonHidden) {
    StarOptionDlg dialog(&CSettingDlg_Volume::Create, nullptr);
    dialog.show();
    auto* file = FindControlAs<CHoverButton>(&dialog, "IDC_BTN_PAGE_FILE");
    auto* volume = FindControlAs<CHoverButton>(&dialog, "IDC_BTN_PAGE_VOLUME");
    auto* record = FindControlAs<CHoverButton>(&dialog, "IDC_BTN_PAGE_RECORD");
    EXPECT_EQ(dialog.size(), QSize(353, 432));
    EXPECT_EQ(dialog.VisiblePage()->objectName(), "IDD_SETTING_FILEOUT");
    EXPECT_TRUE(file->IsLocked());
    EXPECT_FALSE(volume->IsLocked());
    EXPECT_FALSE(record->isVisible());
    EXPECT_EQ(file->CurrentPicture(), 0);
    EXPECT_EQ(volume->CurrentPicture(), 1);

    Click(&dialog, "IDC_BTN_PAGE_VOLUME");
    EXPECT_EQ(dialog.VisiblePage()->objectName(), "IDD_SETTING_VOLUME");
    EXPECT_TRUE(volume->IsLocked());
    EXPECT_FALSE(file->IsLocked());
    EXPECT_FALSE(FindControl(&dialog, "IDD_SETTING_FILEOUT")->isVisible());
    Click(&dialog, "IDC_BTN_PAGE_FILE");
    EXPECT_EQ(dialog.VisiblePage()->objectName(), "IDD_SETTING_FILEOUT");

    // White face with a grey frame; the page is a lighter panel with the same frame, on the
    // page area's rectangle.
    const QImage picture = Grab(&dialog);
    EXPECT_EQ(Rgb(picture, 0, 200), 0xB5B5B5u);
    EXPECT_EQ(Rgb(picture, 352, 431), 0xB5B5B5u);
    EXPECT_EQ(Rgb(picture, 5, 200), 0xFFFFFFu);
    const QRect area = FindControl(&dialog, "IDC_STATIC_PAGEAREA")->geometry();
    EXPECT_EQ(dialog.VisiblePage()->geometry(), area);
    EXPECT_EQ(Rgb(picture, area.left(), area.center().y()), 0xB5B5B5u);
    EXPECT_EQ(Rgb(picture, area.right() - 3, area.bottom() - 3), 0xF6F6F6u);
}

TEST_F(SettingsDialog, OpensOverItsOwnerEscapeClosesAsXAndReturnConfirmsAsOk) {
    WriteFileTypeSel(1);
    const std::string before = HiveText();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.resize(330, 158);
    owner.move(screen.center() - owner.rect().center());
    owner.show();
    int browsed = 0;
    CSettingDlg_FileOut::SetFolderChooser([&](QWidget*, const QString&, const QString&) {
        ++browsed;
        return QString();
    });
    // Return presses the focused push button, and on a check box the dialog's OK.
    const auto keyed = [&](const std::vector<std::pair<const char*, Qt::Key>>& keys) {
        StarOptionDlg dialog(&CSettingDlg_Volume::Create, nullptr, &owner);
        return RunModal(dialog, [&] {
            if (owner.y() > screen.top())
                EXPECT_LE(
                    (dialog.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
            else // taller than the room above its owner: kept whole on the screen
                EXPECT_EQ(dialog.frameGeometry().top(), screen.top());
            Combo(&dialog, "IDC_COMBO_FILETYPE")->setCurrentIndex(0);
            for (const auto& [id, key] : keys) {
                FindControl(&dialog, id)->setFocus();
                PressKey(FindControl(&dialog, id), key);
            }
        });
    };
    EXPECT_EQ(keyed({{"IDC_CHK_AUTOFILENAME", Qt::Key_Escape}}), ui::IDCANCEL);
    EXPECT_EQ(HiveText(), before);
    owner.move(owner.x(), screen.top());
    EXPECT_EQ(keyed({{"IDC_CHK_AUTOFILENAME", Qt::Key_Escape}}), ui::IDCANCEL);
    owner.move(screen.center() - owner.rect().center());
    EXPECT_EQ(keyed({{"IDC_BTN_BROWSE", Qt::Key_Return}, {"IDC_CHK_AUTOFILENAME", Qt::Key_Return}}),
              ui::IDOK);
    EXPECT_EQ(browsed, 1);
    int type = -1;
    ReadFileTypeSel(type);
    EXPECT_EQ(type, 0);
}

TEST_F(SettingsDialog, DraggingItsBodyMovesIt) {
    StarOptionDlg dialog(&CSettingDlg_Volume::Create, nullptr);
    dialog.show();
    const QPoint start = dialog.pos();
    const QPoint body(200, 60); // beside the page buttons
    QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, body);
    QTest::mouseMove(&dialog, body + QPoint(30, 20));
    QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, body + QPoint(30, 20));
    EXPECT_NE(dialog.pos(), start);
}

TEST_F(SettingsDialog, BrowsingStartsAtTheStoredFolderAndCancellingPutsItBack) {
    quortest::TempDir stored, chosen;
    WriteSavePath(stored.str());
    QStringList starts, titles;
    QString answer = QString::fromStdString(chosen.str());
    CSettingDlg_FileOut::SetFolderChooser([&](QWidget*, const QString& title, const QString& start) {
        titles << title;
        starts << start;
        return answer;
    });
    StarOptionDlg dialog(&CSettingDlg_Volume::Create, nullptr);
    dialog.show();
    auto* path = FindControlAs<QLineEdit>(&dialog, "IDC_EDIT_SAVEPATH");

    Click(&dialog, "IDC_BTN_BROWSE");
    EXPECT_EQ(path->text().toStdString(), chosen.str());
    EXPECT_EQ(path->toolTip().toStdString(), chosen.str());
    answer.clear(); // cancelled
    Click(&dialog, "IDC_BTN_BROWSE");
    EXPECT_EQ(path->text().toStdString(), stored.str()) << "the stored folder, not the one shown before";
    EXPECT_EQ(path->toolTip().toStdString(), stored.str());
    ASSERT_EQ(starts.size(), 2);
    EXPECT_EQ(starts[0].toStdString(), stored.str());
    EXPECT_EQ(starts[1].toStdString(), stored.str());
    EXPECT_EQ(titles[0], "기본 저장폴더를 선택해 주세요.");
}

TEST_F(SettingsDialog, TheFolderIsNeverTypedIntoAndAChosenOneIsStoredOnOk) {
    quortest::TempDir chosen;
    CSettingDlg_FileOut::SetFolderChooser(
        [&](QWidget*, const QString&, const QString&) { return QString::fromStdString(chosen.str()); });
    StarOptionDlg dialog(&CSettingDlg_Volume::Create, nullptr);
    auto* path = FindControlAs<QLineEdit>(&dialog, "IDC_EDIT_SAVEPATH");
    const QString shown = path->text();
    EXPECT_TRUE(path->isReadOnly());
    EXPECT_FALSE(path->isEnabled());
    QTest::keyClicks(path, "typed");
    EXPECT_EQ(path->text(), shown);

    RunModal(dialog, [&] {
        Click(&dialog, "IDC_BTN_BROWSE");
        Click(&dialog, "IDC_BTN_OK");
    });
    std::string stored;
    ReadSavePath(stored);
    EXPECT_EQ(stored, chosen.str());
}

// A stored format the page does not offer, or a preset outside the format's rows, must not
// leave an empty choice that OK would store.
TEST_F(SettingsDialog, AnUnofferedStoredFormatShowsMp3AndOkStoresAValidPair) {
    struct Case {
        int32_t type, setting;
        const char* shownType;
        int32_t storedType;
    };
    for (const Case& c : {Case{2, 4, "MP3", 0}, Case{77, 3, "MP3", 0}, Case{-1, 0, "MP3", 0},
                          Case{1, 9, "WAVE", 1}, Case{0, -1, "MP3", 0}}) {
        SCOPED_TRACE(testing::Message() << "stored " << c.type << "/" << c.setting);
        WriteFileTypeSel(c.type);
        WriteFileSettingSel(c.setting);
        StarOptionDlg dialog(&CSettingDlg_Volume::Create, [] { TheRecorderSettings().Load(); });
        EXPECT_EQ(Combo(&dialog, "IDC_COMBO_FILETYPE")->currentText(), c.shownType);
        QComboBox* quality = Combo(&dialog, "IDC_COMBO_FILESETTING");
        EXPECT_EQ(quality->currentIndex(), 0);
        EXPECT_EQ(Items(quality), PresetLabels(c.storedType));
        RunModal(dialog, [&] { Click(&dialog, "IDC_BTN_OK"); });
        int32_t type = -1, setting = -1;
        ReadFileTypeSel(type);
        ReadFileSettingSel(setting);
        EXPECT_EQ(type, c.storedType);
        EXPECT_EQ(setting, 0);
        EXPECT_EQ(TheRecorderSettings().sampleRate, 44100);
    }
}

TEST_F(SettingsDialog, RecordPageShowsAndCommitsItsTwoOptions) {
    TheRecorderSettings().topmost = 1;
    TheRecorderSettings().sysSoundOff = 0;
    CSettingDlg_Record page;
    auto* topmost = FindControlAs<QCheckBox>(&page, "IDC_CHK_TOPMOST");
    auto* sysSound = FindControlAs<QCheckBox>(&page, "IDC_CHK_SYSSOUNDOFF");
    EXPECT_EQ(sysSound->text(), "시스템 소리 끄기 (시스템 오류/알림/경고 소리 끄기)");
    EXPECT_EQ(topmost->text(), "항상 위에 표시");
    EXPECT_TRUE(topmost->isChecked());
    EXPECT_FALSE(sysSound->isChecked());
    page.show();
    ClickCheck(&page, "IDC_CHK_TOPMOST");
    ClickCheck(&page, "IDC_CHK_SYSSOUNDOFF");
    page.Commit();
    EXPECT_EQ(TheRecorderSettings().topmost, 0);
    EXPECT_EQ(TheRecorderSettings().sysSoundOff, 1);
    EXPECT_EQ(ReadCkTopmost(7), 0);
    EXPECT_EQ(ReadCkSysSoundOff(7), 1);
}

} // namespace

TEST_F(SettingsDialog, SettingsThatCannotBeSavedAreToldOnceAndKeptForTheRunningProgram) {
    // Ways the store refuses: a folder where the file belongs, a file where the folder belongs,
    // and (where rights count: not for root) a read-only settings folder.
    struct Case {
        const char* name;
        std::function<void()> breakStore;
        std::function<void()> repair;
    };
    namespace fs = std::filesystem;
    const fs::path folder = hive.HiveFolder();
    std::vector<Case> cases = {
        {"folder in the file's place",
         [&] {
             fs::remove(hive.HivePath());
             fs::create_directory(hive.HivePath());
         },
         [&] { fs::remove(hive.HivePath()); }},
        {"file in the folder's place",
         [&] {
             fs::remove_all(folder);
             quortest::WriteFile(folder, "not a folder");
         },
         [&] { fs::remove(folder); }},
    };
    if (geteuid() != 0)
        cases.push_back({"read-only folder",
                         [&] { fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec); },
                         [&] { fs::permissions(folder, fs::perms::owner_all); }});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TheRecorderSettings() = RecorderSettings{};
        WriteFileTypeSel(0);
        c.breakStore();
        StarOptionDlg dialog(&CSettingDlg_Volume::Create,
                             [] { TheRecorderSettings().Load(); }); // the owner's reload
        ModalAnswerer answer;
        RunModal(dialog, [&] {
            Combo(&dialog, "IDC_COMBO_FILETYPE")->setCurrentIndex(1);
            Click(&dialog, "IDC_BTN_OK");
        });
        c.repair();
        ASSERT_EQ(answer.Seen().size(), 1u) << "one notice, not one per value";
        const QString message = answer.Seen()[0].message;
        EXPECT_TRUE(message.startsWith(QStringLiteral("설정을 저장할 수 없습니다"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromStdString(hive.HivePath().string()))) << "where";
        EXPECT_EQ(TheRecorderSettings().fileType, 1) << "the reload keeps the choice";
        EXPECT_EQ(TheRecorderSettings().sampleRate, 44100);
        int32_t stored = -1;
        ReadFileTypeSel(stored);
        EXPECT_EQ(stored, 0) << "the store was left as it was";
    }
    TheRecorderSettings() = RecorderSettings{};
}
