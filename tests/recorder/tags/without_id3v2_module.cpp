// A program that cannot find the ID3v2 module (it is not on this program's search path): the
// record is still read and written, the ID3v2 tag neither, the editor tells the user its save
// failed, the file stays as it was, and stderr says why once.
#include "CID3TagInfoDlg.h"
#include "Id3v2Tag.h"
#include "MediaFiles.h"
#include "TagFixtures.h"
#include "TagStore.h"
#include "support/TempDir.h"
#include "support/gui/GuiHelpers.h"

#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace quortest::gui;

TEST(WithoutId3v2Module, NoTagIsWrittenTheEditorSaysSoAndTheFileStaysAsItWas) {
    quortest::TempDir dir;
    const std::string path = (dir / "rec.mp3").string();
    ASSERT_TRUE(tagtest::MakePlainMp3(path));
    const tags::TagTexts record{"제목", "가수", "", "2001", ""};
    ASSERT_TRUE(tags::WriteId3v1(path, record));
    const std::string before = quortest::ReadFile(path);

    testing::internal::CaptureStderr();
    EXPECT_EQ(tags::ReadId3v2(path), std::nullopt);
    EXPECT_EQ(tags::ReadTags(path), record) << "the record alone";
    EXPECT_FALSE(tags::WriteId3v2(path, record));
    EXPECT_FALSE(tags::SaveTags(path, {"새 제목", "", "", "", ""}));
    EXPECT_EQ(tags::Id3v2Length(path), 0) << "the length needs no module";

    ModalAnswerer answerer;
    CID3TagInfoDlg editor(nullptr, QString::fromStdString(path));
    EXPECT_EQ(FindControlAs<QLineEdit>(&editor, "IDC_EDIT_TITLE")->text(), QStringLiteral("제목"));
    QTimer::singleShot(0, [&] {
        FindControlAs<QLineEdit>(&editor, "IDC_EDIT_TITLE")->setText(QStringLiteral("새 제목"));
        Click(&editor, "IDC_BTN_SAVE");
    });
    editor.DoModal();
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].message,
              QStringLiteral("태그를 저장하지 못했습니다.\r\n파일을 쓸 수 없습니다."));

    // Qt may add lines of its own; ours comes once.
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string line = "ID3v2 tags unavailable: libquor_id3v2.so could not be loaded\n";
    const size_t first = said.find(line);
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(line, first + 1), std::string::npos) << said;
    EXPECT_EQ(quortest::ReadFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no copy left behind";
}
