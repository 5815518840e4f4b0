// Fixture of the window tests.
#include "tests/splitter/window/SplitWindowFixture.h"

#include "platform/registry/CRegistry.h"
#include "platform/registry/ProgramKeys.h"
#include "splitter/slider/SliderBoth.h"
#include "tests/splitter/common/MediaFiles.h"
#include "tests/support/Eventually.h"
#include "tests/support/pulse/PulseServer.h"
#include "ui/Fonts.h"
#include "ui/Skin.h"
#include "ui/SplitterBitmaps.h"

#include <QFileDialog>
#include <QPainter>

namespace {

// One private sound server for the test program (each test case runs as its own process).
class PulseEnvironment : public ::testing::Environment {
public:
    void SetUp() override { server = std::make_unique<quortest::PulseServer>(); }
    void TearDown() override { server.reset(); }
    std::unique_ptr<quortest::PulseServer> server;
};
PulseEnvironment* const kPulse = new PulseEnvironment;
[[maybe_unused]] ::testing::Environment* const kRegistered = ::testing::AddGlobalTestEnvironment(kPulse);

} // namespace

void SplitWindowTest::SetUp() {
    std::filesystem::create_directory(dir / "config");
    config = std::make_unique<quortest::ScopedEnv>("XDG_CONFIG_HOME", (dir / "config").string());
    SplitContext::Instance() = SplitContext{};
    SetRecorderKey(dir.str(), std::string(QUOR_BIN_DIR));
    answerer = std::make_unique<quortest::gui::ModalAnswerer>(
        quortest::gui::ModalAnswerer::Answer::Ok, [this](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) {
                modal->close();
                return;
            }
            ++fileDialogs;
            lastDialogFolder = dialog->directory().absolutePath();
            if (acceptProposed) {
                static_cast<QDialog*>(dialog)->accept(); // the dialog's own Return: it reads its name field
                return;
            }
            if (fileDialogAnswer.empty()) {
                dialog->reject();
                return;
            }
            if (quortest::gui::TypeIntoFileDialog(dialog, QString::fromStdString(fileDialogAnswer)))
                static_cast<QDialog*>(dialog)->done(QDialog::Accepted); // past the dialog's own checks
            else
                dialog->reject();
        });
}

void SplitWindowTest::TearDown() {
    window.reset();
    answerer.reset();
    config.reset();
}

void SplitWindowTest::SetRecorderKey(std::optional<std::string> savePath,
                                     std::optional<std::string> converterDir) {
    const std::string key = kSettingsKey;
    CRegistry registry;
    if (!savePath && !converterDir) {
        std::filesystem::remove_all(dir / "config" / "QuorTools");
        ASSERT_FALSE(registry.Open(platform::HKEY_CURRENT_USER, key));
        return;
    }
    ASSERT_TRUE(registry.Open(platform::HKEY_CURRENT_USER, key, 1));
    if (savePath)
        registry.WriteString("Savepath", *savePath);
    if (converterDir)
        registry.WriteString("dir", *converterDir);
    registry.Close();
}

CQuorSplitDlg& SplitWindowTest::Open(const std::string& argument, CQuorSplitDlg::PlayerFactory player) {
    Create(argument, std::move(player));
    return ShowAndWait();
}

void SplitWindowTest::Create(const std::string& argument, CQuorSplitDlg::PlayerFactory player) {
    window = std::make_unique<CQuorSplitDlg>(nullptr, std::move(player), &shell);
    window->SetInputPath(argument);
}

void SplitWindowTest::StopSoundServer() {
    kPulse->server.reset();
}

void SplitWindowTest::StartSoundServer() {
    kPulse->server = std::make_unique<quortest::PulseServer>();
}

CQuorSplitDlg& SplitWindowTest::ShowAndWait() {
    window->show();
    // The slider places its thumbs after its first paint, and the file is read just after it;
    // wait for both on a busy machine.
    quortest::Eventually([&] { return window->Slider()->IsReady() && window->Started(); });
    EXPECT_TRUE(window->Slider()->IsReady());
    EXPECT_TRUE(window->Started());
    return *window;
}

std::string SplitWindowTest::Tone(const std::string& name, double seconds) {
    const std::string path = (dir / name).string();
    EXPECT_TRUE(splittest::MakeToneMp3(path, seconds));
    return path;
}

void SplitWindowTest::AnswerFileDialogsWith(const std::string& path) {
    fileDialogAnswer = path;
}

bool SplitWindowTest::ShowsText(const QRect& rect, const QString& text, int pixelHeight,
                                const QColor& colour) {
    QImage expected =
        Skin::Image(SkinSet::Splitter, SplitterBitmap::IDB_BACKGROUND).convertToFormat(QImage::Format_RGB32);
    {
        QPainter painter(&expected);
        painter.setFont(ui::CellHeightFont("돋움체", pixelHeight));
        painter.setPen(colour);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    const QImage shown = quortest::gui::Grab(window.get());
    return shown.copy(rect) == expected.copy(rect);
}
