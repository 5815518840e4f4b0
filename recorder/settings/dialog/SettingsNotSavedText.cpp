// The settings-not-saved notice, in the "\r\n" line form of the notification box.
#include "recorder/settings/dialog/SettingsNotSavedText.h"

namespace {
QString Reason(platform::LSTATUS why) {
    switch (why) {
    case platform::ERROR_ACCESS_DENIED:
        return QStringLiteral("쓰기 권한이 없습니다");
    case platform::ERROR_DISK_FULL:
        return QStringLiteral("디스크 공간이 부족합니다");
    case platform::ERROR_FILE_NOT_FOUND:
        return QStringLiteral("폴더를 만들 수 없습니다");
    default:
        return QStringLiteral("파일을 쓸 수 없습니다");
    }
}
} // namespace

QString SettingsNotSavedText(const QString& where, platform::LSTATUS why) {
    return QStringLiteral(
               "설정을 저장할 수 없습니다 (%1).\r\n%2\r\n바꾼 설정은 프로그램을 끝낼 때까지만 유지됩니다.")
        .arg(Reason(why), where);
}
