// The cut: ask for the output, find the converter, run it with the range and judge the result.
#include "CQuorSplitDlg.h"

#include "CRegistry.h"
#include "ConverterRun.h"
#include "CutCommand.h"
#include "DialogResult.h"
#include "MediaQuery.h"
#include "SliderBoth.h"
#include "TimeText.h"
#include "shell/SpecialFolders.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QtDebug>

#include <filesystem>
#include <unistd.h>

namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

} // namespace

bool CQuorSplitDlg::FindConverter(std::string& path) const {
    path = platform::ProgramFilesFolder() + "/QuorRecorder";
    CRegistry registry;
    if (!registry.Open(platform::HKEY_CURRENT_USER, "Software\\QuorRecorder"))
        return false;
    registry.ReadString("dir", path, CRegistry::kPathBufferBytes);
    registry.Close();
    path += "/screenshot";
    return FileExists(path);
}

bool CQuorSplitDlg::AskOutputPath() {
    m_Ctx.outputName = "Split_" + m_Ctx.inputName;
    QFileDialog dialog(this, QString(), QString::fromStdString(m_Ctx.inputFolder), "mp3 audio files (*.mp3)");
    dialog.setObjectName("SaveFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("mp3");
    dialog.selectFile(QString::fromStdString(m_Ctx.outputName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    m_Ctx.outputPath = dialog.selectedFiles().first().toStdString();
    m_Ctx.outputFolder = FolderPart(m_Ctx.outputPath);
    m_Ctx.outputName = NamePart(m_Ctx.outputPath);

    if (m_Ctx.outputName.find(".mp3") == std::string::npos) {
        Notify("\r\n\r\nmp3 파일로만 변환이 가능합니다.\r\n확장자.mp3를 추가합니다.", 1, 300, 150);
        m_Ctx.outputName += ".mp3";
        m_Ctx.outputPath += ".mp3";
    }
    if (FileExists(m_Ctx.outputPath)) {
        if (Notify("\r\n\r\n같은 파일이 있습니다.\r\n덮어 씌우겠습니까?", 2, 300, 150) != ui::IDOK)
            return false;
        if (::unlink(m_Ctx.outputPath.c_str()) != 0)
            Notify("\r\n\r\n해당 파일이 사용중입니다.", 1, 300, 150);
    }
    return true;
}

void CQuorSplitDlg::OnCut() {
    if (m_Ctx.inputPath.empty())
        return;
    if (!AskOutputPath())
        return;
    int start = 0, end = 0;
    m_Slider->GetSelection(start, end);
    const long duration = end - start;

    std::string converter;
    if (!FindConverter(converter))
        converter = QCoreApplication::applicationDirPath().toStdString() + "/screenshot";
    if (!FileExists(converter)) {
        Notify("\r\n\r\n변환 모듈이 없습니다.", 1, 300, 150);
        return;
    }

    const CutRequest request{start,
                             duration,
                             m_Ctx.inputPath,
                             LeadingNumber(m_Ctx.media.audioSampleRate, 1000),
                             LeadingNumber(m_Ctx.media.audioBitRate, 1),
                             m_Ctx.outputPath};
    m_LastCutArguments = ConverterArgumentString(request);
    qInfo().noquote() << "QuorSplit: running" << QString::fromStdString(converter)
                      << QString::fromStdString(m_LastCutArguments);
    QStringList arguments;
    for (const std::string& argument : ConverterArguments(request))
        arguments << QString::fromStdString(argument);

    m_Cutting = true;
    const ConverterExit exit =
        RunConverter(QString::fromStdString(converter), arguments, CutTimeBound(duration));
    m_Cutting = false;

    if (exit.Succeeded() && CutOutputComplete(m_Ctx.outputPath, duration)) {
        Notify("\r\n\r\n파일 자르기가 완료되었습니다.", 1, 200, 130);
        return;
    }
    qWarning().noquote() << "QuorSplit: the cut failed"
                         << (exit.timedOut ? "(stopped at the time bound)" : "") << "exit code"
                         << exit.exitCode << "\n"
                         << exit.output.right(800);
    Notify("\r\n\r\n파일 자르기 오류.", 1, 200, 130);
}
