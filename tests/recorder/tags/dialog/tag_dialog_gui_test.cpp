// The tag editor window: fields shown from the file, save, Clear, cancel, their keys and the empty
// path.
#include "recorder/tags/Cp949.h"
#include "recorder/tags/Id3v1TagFile.h"
#include "recorder/tags/dialog/CID3TagInfoDlg.h"
#include "tests/recorder/tags/TagFixtures.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/GuiHelpers.h"
#include "ui/DialogResult.h"

#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quortest::gui;

namespace {

std::string Tagged(const std::string& audio) {
    std::string record(128, '\0');
    record.replace(0, 3, "TAG");
    record.replace(3, 5, "Title");
    std::string artist = tags::Utf8ToCp949("가수");
    record.replace(33, artist.size(), artist);
    record.replace(63, 5, "Album");
    record.replace(93, 4, "2001");
    record.replace(97, 7, "Comment");
    record.replace(125, 3, "xyz");
    return audio + record;
}

// Runs the dialog modally and lets `act` drive it once it is on screen.
int RunDialog(CID3TagInfoDlg& dialog, const std::function<void()>& act) {
    QTimer::singleShot(0, [&] { act(); });
    return dialog.DoModal();
}

QString TextOf(QWidget* root, const char* id) {
    return FindControlAs<QLineEdit>(root, id)->text();
}

} // namespace

TEST(TagDialog, ShowsTheTagAndSavesEditedFields) {
    quortest::TempDir dir;
    auto path = dir / "rec.mp3";
    quortest::WriteFile(path, Tagged(std::string(1000, 'a')));
    CID3TagInfoDlg dialog(nullptr, QString::fromStdString(path.string()));
    int result = RunDialog(dialog, [&] {
        EXPECT_EQ(TextOf(&dialog, "IDC_EDIT_ARTIST"), QStringLiteral("가수"));
        EXPECT_EQ(TextOf(&dialog, "IDC_EDIT_TITLE"), QStringLiteral("Title"));
        EXPECT_EQ(TextOf(&dialog, "IDC_EDIT_YEAR"), QStringLiteral("2001"));
        FindControlAs<QLineEdit>(&dialog, "IDC_EDIT_TITLE")->setText(QStringLiteral("새 제목"));
        FindControlAs<QLineEdit>(&dialog, "IDC_EDIT_YEAR")->setText(QStringLiteral("20240"));
        Click(&dialog, "IDC_BTN_SAVE");
    });
    EXPECT_EQ(result, ui::IDOK);
    Id3v1TagFile tag;
    ASSERT_EQ(tag.Read(path), 0);
    EXPECT_EQ(tag.Title(), "새 제목");
    EXPECT_EQ(tag.Artist(), "가수");
    EXPECT_EQ(tag.Year(), "2024");
    tag.Close();
    const std::string afterTag = tagtest::AfterId3v2(quortest::ReadFile(path));
    EXPECT_EQ(afterTag.substr(0, 1000), std::string(1000, 'a'));
    EXPECT_EQ(afterTag.substr(1125), "xyz");
}

TEST(TagDialog, ClearThenSaveEqualsCancel) {
    quortest::TempDir dir;
    auto cleared = dir / "cleared.mp3";
    auto cancelled = dir / "cancelled.mp3";
    quortest::WriteFile(cleared, Tagged("audio"));
    quortest::WriteFile(cancelled, Tagged("audio"));

    CID3TagInfoDlg first(nullptr, QString::fromStdString(cleared.string()));
    RunDialog(first, [&] {
        Click(&first, "IDC_BTN_CLEAR");
        EXPECT_TRUE(TextOf(&first, "IDC_EDIT_ARTIST").isEmpty());
        Click(&first, "IDC_BTN_SAVE");
    });
    CID3TagInfoDlg second(nullptr, QString::fromStdString(cancelled.string()));
    int result = RunDialog(second, [&] { Click(&second, "IDCANCEL"); });
    EXPECT_EQ(result, ui::IDCANCEL);

    std::string a = quortest::ReadFile(cleared), b = quortest::ReadFile(cancelled);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.substr(5, 3), "TAG");
    EXPECT_EQ(a.substr(8, 122), std::string(122, '\0')) << "fields zero-filled";
    EXPECT_EQ(a.find("ID3"), std::string::npos) << "no ID3v2 tag for empty fields";
}

TEST(TagDialog, EscapeCancelsAndReturnInAFieldSavesLikeTheirButtons) {
    quortest::TempDir dir;
    auto path = dir / "esc.mp3";
    quortest::WriteFile(path, Tagged("x"));
    CID3TagInfoDlg escaped(nullptr, QString::fromStdString(path.string()));
    EXPECT_EQ(RunDialog(escaped, [&] { PressKey(&escaped, Qt::Key_Escape); }), ui::IDCANCEL);
    Id3v1TagFile tag;
    ASSERT_EQ(tag.Read(path), 0);
    EXPECT_EQ(tag.Title(), "");
    tag.Close();

    CID3TagInfoDlg typed(nullptr, QString::fromStdString(path.string()));
    EXPECT_EQ(RunDialog(typed,
                        [&] {
                            auto* title = FindControlAs<QLineEdit>(&typed, "IDC_EDIT_TITLE");
                            title->setFocus();
                            title->setText(QStringLiteral("제목"));
                            PressKey(title, Qt::Key_Return);
                            if (typed.isVisible()) {
                                ADD_FAILURE() << "Return saved nothing";
                                typed.done(ui::IDCANCEL);
                            }
                        }),
              ui::IDOK);
    ASSERT_EQ(tag.Read(path), 0);
    EXPECT_EQ(tag.Title(), "제목");
}

TEST(TagDialog, UntaggedFileOpensEmptyAndGetsItsTagAppended) {
    quortest::TempDir dir;
    auto path = dir / "plain.mp3";
    quortest::WriteFile(path, std::string(300, 'm'));
    CID3TagInfoDlg dialog(nullptr, QString::fromStdString(path.string()));
    RunDialog(dialog, [&] {
        EXPECT_TRUE(TextOf(&dialog, "IDC_EDIT_TITLE").isEmpty());
        FindControlAs<QLineEdit>(&dialog, "IDC_EDIT_ARTIST")->setText(QStringLiteral("me"));
        Click(&dialog, "IDC_BTN_SAVE");
    });
    std::string bytes = tagtest::AfterId3v2(quortest::ReadFile(path));
    ASSERT_EQ(bytes.size(), 428u);
    EXPECT_EQ(bytes.substr(0, 300), std::string(300, 'm'));
    EXPECT_EQ(bytes.substr(300, 3), "TAG");
    EXPECT_EQ(bytes.substr(333, 3), std::string("me\0", 3));
}

TEST(TagDialog, EmptyPathShowsTheNoticeAndEnds) {
    ModalAnswerer answerer;
    CID3TagInfoDlg dialog(nullptr, QString());
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].message, QStringLiteral("오픈할 파일 없습니다."));
    EXPECT_EQ(answerer.Seen()[0].size, QSize(300, 150));
}

TEST(TagDialog, LongKoreanTitleIsSavedWholeForPlayersAndShownWholeWhenReopened) {
    const QString title =
        QStringLiteral("안녕하세요 세상 — a long English title of more than thirty characters");
    quortest::TempDir dir;
    const std::string path = (dir / "녹음.mp3").string();
    ASSERT_TRUE(tagtest::MakePlainMp3(path));
    const std::string audio = quortest::ReadFile(path);

    CID3TagInfoDlg editor(nullptr, QString::fromStdString(path));
    int result = RunDialog(editor, [&] {
        FindControlAs<QLineEdit>(&editor, "IDC_EDIT_TITLE")->setText(title);
        FindControlAs<QLineEdit>(&editor, "IDC_EDIT_ARTIST")->setText(QStringLiteral("가수"));
        Click(&editor, "IDC_BTN_SAVE");
    });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(splittest::ProbeTag(path, "title"), title.toStdString());
    const std::string saved = tagtest::AfterId3v2(quortest::ReadFile(path));
    ASSERT_EQ(saved.size(), audio.size() + 128);
    EXPECT_EQ(saved.substr(0, audio.size()), audio) << "the audio frames byte for byte";
    EXPECT_EQ(saved.substr(audio.size() + 3, 30), tags::Utf8ToCp949("안녕하세요 세상") + " ? a long Engli");

    const std::string withTags = quortest::ReadFile(path);
    CID3TagInfoDlg reopened(nullptr, QString::fromStdString(path));
    result = RunDialog(reopened, [&] {
        EXPECT_EQ(TextOf(&reopened, "IDC_EDIT_TITLE"), title);
        EXPECT_EQ(FindControlAs<QLineEdit>(&reopened, "IDC_EDIT_TITLE")->cursorPosition(), 0)
            << "its start in view";
        EXPECT_EQ(TextOf(&reopened, "IDC_EDIT_ARTIST"), QStringLiteral("가수"));
        Click(&reopened, "IDCANCEL");
    });
    EXPECT_EQ(result, ui::IDCANCEL);
    const std::string cancelled = quortest::ReadFile(path);
    const size_t tagBytes = withTags.size() - saved.size();
    EXPECT_EQ(cancelled.substr(0, tagBytes), withTags.substr(0, tagBytes)) << "cancel writes no ID3v2 tag";
    EXPECT_EQ(cancelled.substr(cancelled.size() - 125), std::string(125, '\0')) << "but empties the record";
}

TEST(TagDialog, ReadOnlyFileShowsTheFailureNoticeAndStaysUntouched) {
    quortest::TempDir dir;
    const std::string path = (dir / "locked.mp3").string();
    ASSERT_TRUE(tagtest::MakePlainMp3(path));
    const std::string before = quortest::ReadFile(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.str().c_str(), 0777), 0);
    tagtest::Unprivileged nobody;
    ModalAnswerer answerer;
    CID3TagInfoDlg editor(nullptr, QString::fromStdString(path));
    EXPECT_EQ(TextOf(&editor, "IDC_EDIT_TITLE"), QString());
    RunDialog(editor, [&] {
        FindControlAs<QLineEdit>(&editor, "IDC_EDIT_TITLE")->setText(QStringLiteral("제목"));
        Click(&editor, "IDC_BTN_SAVE");
    });
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].message,
              QStringLiteral("태그를 저장하지 못했습니다.\r\n파일을 쓸 수 없습니다."));
    EXPECT_EQ(quortest::ReadFile(path), before);
}
