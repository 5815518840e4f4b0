// Short Korean messages, one per reason, in the notification box's "\r\n" line form.
#include "RecordFailureText.h"

QString RecordFailureText(Recorder::RecordFailure failure) {
    using F = Recorder::RecordFailure;
    switch (failure) {
    case F::FileNotCreated:
        return QStringLiteral("녹음 파일을 만들 수 없습니다.\r\n저장 폴더를 확인해 주세요.");
    case F::EncoderMissing:
        return QStringLiteral("MP3 인코더를 찾을 수 없습니다.\r\n프로그램을 다시 설치해 주세요.");
    case F::CaptureFailed:
        return QStringLiteral("녹음 장치를 열 수 없습니다.\r\n사운드 설정을 확인해 주세요.");
    case F::DiskFull:
        return QStringLiteral("디스크 공간이 부족하여 녹음을 멈췄습니다.\r\n녹음된 부분은 저장되었습니다.");
    case F::SizeLimit:
        return QStringLiteral(
            "WAV 파일의 최대 크기에 이르러\r\n녹음을 멈췄습니다. 녹음된 부분은 저장되었습니다.");
    case F::CaptureLost:
        // Three short lines: the box is 300 pixels wide.
        return QStringLiteral(
            "사운드 서버와의 연결이 끊어져\r\n녹음을 멈췄습니다.\r\n녹음된 부분은 저장되었습니다.");
    case F::EncoderFailed:
        return QStringLiteral(
            "MP3 인코더를 시작할 수 없어\r\n녹음을 시작하지 못했습니다.\r\n음질 설정을 확인해 주세요.");
    case F::NoFormat:
        return QStringLiteral("녹음 형식이 올바르지 않습니다.\r\n설정에서 형식을 다시 선택해 주세요.");
    case F::NoRoomToStart:
        return QStringLiteral("디스크 공간이 부족하여\r\n녹음을 시작하지 못했습니다.");
    case F::FileRemoved:
        return QStringLiteral("녹음 중에 녹음 파일이나 저장 폴더가\r\n지워져 녹음이 저장되지 않았습니다.");
    case F::EndNotWritten:
        return QStringLiteral(
            "디스크에 쓰지 못해 녹음의 끝부분이\r\n저장되지 않았습니다.\r\n디스크 공간을 확인해 주세요.");
    case F::FileMoved:
        return QStringLiteral("녹음 중에 녹음 파일의 이름이나 위치가\r\n바뀌었습니다. 녹음은 바뀐 "
                              "파일에\r\n모두 저장되었습니다.");
    case F::FileSizeLimit:
        return QStringLiteral(
            "이 세션의 파일 크기 제한에 이르러\r\n녹음을 멈췄습니다.\r\n녹음된 부분은 저장되었습니다.");
    case F::None:
        break;
    }
    return {};
}

QString DroppedAudioText(double seconds) {
    return QStringLiteral("녹음 중 %1초 분량의 소리가 빠졌습니다.\r\n컴퓨터가 바빠 제때 저장하지 못했습니다.")
        .arg(seconds, 0, 'f', 1);
}
