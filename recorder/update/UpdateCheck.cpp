// Version description, comparison, offer and patch launch.
#include "recorder/update/UpdateCheck.h"

#include "platform/decimal/Decimal.h"
#include "platform/net/Download.h"
#include "platform/net/NetHosts.h"
#include "platform/net/UrlPolicy.h"
#include "platform/shell/ProgramLauncher.h"
#include "recorder/update/QuorVersion.h"
#include "recorder/update/UpdateEndpoints.h"
#include "ui/CMssageBoxDlg.h"
#include "ui/DialogResult.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr qint64 kVersionFileBytes = 64 * 1024;
constexpr qint64 kPatchBytes = 512LL * 1024 * 1024;
constexpr int kPatchTimeoutMs = 10 * 60 * 1000; // asked for by the user: may take a while, never stall

QUrl PatchUrl(const VersionInfo& info) {
    return QUrl(QString::fromStdString(info.url), QUrl::StrictMode);
}

} // namespace

int OwnVersionNumber() {
    std::string digits = QUOR_FILE_VERSION;
    std::erase(digits, '.');
    return DecimalValue(digits);
}

bool IsUsablePatch(const VersionInfo& info) {
    return IsSafePatchFileName(info.filename) && platform::IsAllowedUrl(PatchUrl(info));
}

bool DownloadAndStartPatch(const VersionInfo& info, const QString& folder) {
    if (!IsUsablePatch(info))
        return false;
    const QString patch = QDir(folder).filePath(QString::fromStdString(info.filename));
    platform::TransferLimits limits;
    limits.timeoutMs = kPatchTimeoutMs;
    limits.maxBytes = kPatchBytes;
    if (!platform::DownloadToFile(PatchUrl(info), patch, limits))
        return false;
    const auto executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther; // 0755
    if (!QFile::setPermissions(patch, executable))
        return false;
    return platform::StartDetached(patch, {QStringLiteral("-S")}, QStringLiteral("."));
}

int UpdateCheck(QWidget* parent) {
    // A private folder (0700, unique name): nobody else can plant or swap the files in it.
    QTemporaryDir folder;
    if (!folder.isValid())
        return 0;
    const QString versionFile = folder.filePath(QStringLiteral("version.ini"));
    platform::TransferLimits limits;
    limits.maxBytes = kVersionFileBytes;
    platform::DownloadToFile(platform::UpdateServerUrl(QLatin1String(UpdateEndpoints::kVersionDescription)),
                             versionFile, limits);
    const VersionInfo info = ReadVersionFile(versionFile.toStdString());
    QFile::remove(versionFile);

    // A patch that would be refused is not offered.
    if (OwnVersionNumber() < DecimalValue(info.ver) && IsUsablePatch(info) &&
        CMssageBoxDlg::Show(parent, QStringLiteral("녹음기가 버젼업 되었습니다. 패치하시겠습니까?"),
                            QStringLiteral("알림"), kBoxOkCancel, kBoxWidth, kBoxHeight) == ui::IDOK) {
        // The started patch still reads its file: keep the folder.
        if (DownloadAndStartPatch(info, folder.path()))
            folder.setAutoRemove(false);
    }
    return DecimalValue(info.holddate);
}
