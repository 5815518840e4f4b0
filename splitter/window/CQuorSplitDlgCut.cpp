// The cut: ask for the output, find the converter, run it over the range into a temporary file
// beside the output while the window shows the progress, and put the file in place only when
// the cut is complete. Escape, the close button or a termination signal cancel it.
#include "splitter/window/CQuorSplitDlg.h"

#include "platform/folders/SpecialFolders.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/ProgramKeys.h"
#include "splitter/cut/ConverterProgress.h"
#include "splitter/cut/CutCommand.h"
#include "splitter/cut/CutOutput.h"
#include "splitter/media/MediaQuery.h"
#include "splitter/slider/SliderBoth.h"
#include "splitter/slider/TimeText.h"
#include "splitter/window/CutProgressPanel.h"
#include "ui/CHoverButton.h"
#include "ui/DialogResult.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QtDebug>

#include <filesystem>

namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

// The name as the user left it in Qt's own dialog: the dialog reads a name holding double
// quotes as a list of quoted names ("Split_say "hi".mp3" would become hi.mp3).
QString TypedPath(const QFileDialog& dialog) {
    const auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    if (!edit || !edit->text().contains(QLatin1Char('"')))
        return dialog.selectedFiles().value(0);
    QString name = edit->text();
    if (QFileInfo(name).suffix().isEmpty())
        name += "." + dialog.defaultSuffix();
    return dialog.directory().absoluteFilePath(name);
}

} // namespace

bool CQuorSplitDlg::FindConverter(std::string& path) const {
    path = platform::ProgramFilesFolder() + "/QuorRecorder";
    CRegistry registry;
    if (!registry.Open(platform::HKEY_CURRENT_USER, kSettingsKey))
        return false;
    registry.ReadString("dir", path, CRegistry::kPathBufferBytes);
    registry.Close();
    path += "/screenshot";
    return FileExists(path);
}

bool CQuorSplitDlg::AskOutputPath() {
    m_Ctx.outputName = "Split_" + m_Ctx.inputName;
    // In the input's folder: with none named, the dialog would open in the process's working
    // folder, and a cut belongs beside its source.
    QFileDialog dialog(this, QString(), QString::fromStdString(m_Ctx.inputFolder), "mp3 audio files (*.mp3)");
    dialog.setObjectName("SaveFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("mp3");
    dialog.selectFile(QString::fromStdString(m_Ctx.outputName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    m_Ctx.outputPath = TypedPath(dialog).toStdString();
    m_Ctx.outputFolder = FolderPart(m_Ctx.outputPath);
    m_Ctx.outputName = NamePart(m_Ctx.outputPath);

    if (m_Ctx.outputName.find(".mp3") == std::string::npos) {
        Notify("\r\n\r\nmp3 파일로만 변환이 가능합니다.\r\n확장자.mp3를 추가합니다.", 1, 300, 150);
        m_Ctx.outputName += ".mp3";
        m_Ctx.outputPath += ".mp3";
    }
    // Refused before the converter runs: a name the file system cannot take would fail only after.
    const long longest = LongestFileName(m_Ctx.outputFolder);
    if (static_cast<long>(m_Ctx.outputName.size()) > longest) {
        Notify(QString("\r\n\r\n파일 이름이 너무 깁니다.\r\n(%1바이트까지 쓸 수 있습니다.)").arg(longest), 1,
               300, 150);
        return false;
    }
    if (FileExists(m_Ctx.outputPath)) {
        if (Notify("\r\n\r\n같은 파일이 있습니다.\r\n덮어 씌우겠습니까?", 2, 300, 150) != ui::IDOK)
            return false;
        // The old file stays until a complete cut replaces it.
        if (!Replaceable(m_Ctx.outputPath))
            Notify("\r\n\r\n해당 파일이 사용중입니다.", 1, 300, 150);
    }
    return true;
}

void CQuorSplitDlg::OnCut() {
    if (m_Ctx.inputPath.empty() || m_CutRun)
        return;
    int start = 0, end = 0;
    m_Slider->GetSelection(start, end);
    // An empty range is refused: the converter would run on nothing and a cut be told as done.
    if (end <= start) {
        Notify("\r\n\r\n자를 구간이 없습니다.\r\n시작과 끝을 다르게 정하세요.", 1, 300, 150);
        return;
    }
    if (!AskOutputPath())
        return;
    const long duration = end - start;

    std::string converter;
    if (!FindConverter(converter))
        converter = QCoreApplication::applicationDirPath().toStdString() + "/screenshot";
    if (!FileExists(converter)) {
        Notify("\r\n\r\n변환 모듈이 없습니다.", 1, 300, 150);
        return;
    }

    CutRequest request{start,
                       duration,
                       m_Ctx.inputPath,
                       LeadingNumber(m_Ctx.media.audioSampleRate, 1000),
                       LeadingNumber(m_Ctx.media.audioBitRate, 1),
                       m_Ctx.outputPath};
    m_LastCutArguments = ConverterArgumentString(request);
    const bool replacesInput = SameFile(m_Ctx.inputPath, m_Ctx.outputPath);
    // Measured before the cut, which may replace the source.
    const std::chrono::milliseconds expected =
        ExpectedCut(m_Ctx.inputPath, start, duration, end >= m_Ctx.media.durationSec);

    RemoveStaleCutFiles(m_Ctx.outputFolder);
    CutOutput output(m_Ctx.outputPath);
    std::error_code error;
    if (!output.Create(error)) {
        qWarning().noquote() << "QuorSplit: cannot write in" << QString::fromStdString(m_Ctx.outputFolder)
                             << ":" << QString::fromStdString(error.message());
        Notify("\r\n\r\n파일 자르기 오류.", 1, 200, 130);
        return;
    }
    request.outputPath = output.TempPath();
    qInfo().noquote() << "QuorSplit: running" << QString::fromStdString(converter)
                      << QString::fromStdString(m_LastCutArguments);
    QStringList arguments;
    for (const std::string& argument : ConverterArguments(request))
        arguments << QString::fromStdString(argument);

    const platform::ProgramExit exit = RunCut(QString::fromStdString(converter), arguments, duration);
    const bool complete = exit.Succeeded() && CutOutputComplete(output.TempPath(), expected);
    const bool committed = complete && output.Commit(error);
    // Gone before any box opens: a kill while it waits for a click leaves nothing behind.
    output.Discard();
    if (committed) {
        Notify("\r\n\r\n파일 자르기가 완료되었습니다.", 1, 200, 130);
        if (replacesInput) {
            OnStop();
            TryLoad(m_Ctx.outputPath, m_Ctx.outputName, 1); // the loaded file is the cut now
            update();
        }
    } else if (exit.cancelled) {
        qInfo() << "QuorSplit: the cut was cancelled";
    } else if (exit.timedOut) {
        qWarning().noquote() << "QuorSplit: the converter made no progress\n" << exit.output.right(800);
        Notify("\r\n\r\n변환 모듈이 응답하지 않아\r\n파일 자르기를 멈췄습니다.", 1, 300, 150);
    } else {
        qWarning().noquote() << "QuorSplit: the cut failed, exit code" << exit.exitCode
                             << QString::fromStdString(error.message()) << "\n"
                             << exit.output.right(800);
        Notify("\r\n\r\n파일 자르기 오류.", 1, 200, 130);
    }
    if (m_CloseAfterCut)
        close();
}

platform::ProgramExit CQuorSplitDlg::RunCut(const QString& converter, const QStringList& arguments,
                                            long rangeSec) {
    platform::ProgramRunner run = ConverterRunner(
        m_StallLimit, [this](std::chrono::milliseconds written) { m_Progress->SetWritten(written); });
    m_CutRun = &run;
    m_CloseAfterCut = false;
    m_Progress->Start(rangeSec);
    qApp->installEventFilter(this);
    const platform::ProgramExit exit = run.Run(converter, arguments);
    qApp->removeEventFilter(this);
    m_Progress->hide();
    m_CutRun = nullptr;
    return exit;
}

void CQuorSplitDlg::CancelCut() {
    if (m_CutRun)
        m_CutRun->Cancel();
}

void CQuorSplitDlg::OnTerminationSignal() {
    m_Terminating = true;
    if (m_CutRun) {
        m_CloseAfterCut = true;
        CancelCut();
        return;
    }
    close();
}

bool CQuorSplitDlg::eventFilter(QObject* watched, QEvent* event) {
    // While a cut runs the window keeps painting and playing, but takes no other input than
    // Escape, the cancel button, close and minimise.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        break;
    default:
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    if (widget == m_Progress->CancelButton() || widget == m_Close || widget == m_Minimize)
        return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CancelCut();
        return true;
    }
    return true;
}
