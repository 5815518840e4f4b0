// Drawing of the recorder's face from the skin pictures.
#include "recorder/app/RecorderFace.h"

#include "ui/Fonts.h"
#include "ui/ImageRegion.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"

#include <QPainter>

RecorderFace::RecorderFace()
    : m_Background(Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_FACE)),
      m_Lamp(Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_LAMP)),
      m_Digits(Skin::SeeThroughBitmap(SkinSet::Recorder, RecorderBitmap::IDB_DIGITS)) {}

bool RecorderFace::LampLit(const RecorderFaceState& state) {
    return state.recording && (state.paused || state.elapsedSeconds % 2 == 1);
}

void RecorderFace::TimeDigits(int elapsedSeconds, int digits[6]) {
    const int hours = elapsedSeconds / 3600 % 60;
    const int minutes = elapsedSeconds / 60 % 60;
    const int seconds = elapsedSeconds % 60;
    const int parts[3] = {hours, minutes, seconds};
    for (int i = 0; i < 3; ++i) {
        digits[2 * i] = parts[i] / 10;
        digits[2 * i + 1] = parts[i] % 10;
    }
}

QString RecorderFace::TypeLabel(int fileType) {
    switch (fileType) {
    case kFileTypeMp3:
        return QStringLiteral("MP3");
    case kFileTypeWav:
        return QStringLiteral("WAVE");
    case kFileTypeOgg:
        return QStringLiteral("OGG");
    default:
        return {};
    }
}

QString RecorderFace::TimeText(int elapsedSeconds) {
    int d[6];
    TimeDigits(elapsedSeconds, d);
    return QStringLiteral("%1%2:%3%4:%5%6").arg(d[0]).arg(d[1]).arg(d[2]).arg(d[3]).arg(d[4]).arg(d[5]);
}

std::array<QString, 4> RecorderFace::FormatParts(const RecorderFaceState& state) {
    return {TypeLabel(state.fileType), QStringLiteral("%1 Kbps").arg(state.bitRate),
            QStringLiteral("%1 Hz").arg(state.sampleRate), QStringLiteral("STEREO")};
}

QString RecorderFace::FormatText(const RecorderFaceState& state) {
    QStringList shown;
    for (const QString& part : FormatParts(state))
        if (!part.isEmpty())
            shown << part;
    return shown.join(u' ');
}

QPixmap RecorderFace::Digit(int value) const {
    return m_Digits.copy(
        Skin::PixelsOf(m_Digits, QRect(value * kDigitWidth, 0, kDigitWidth, kDigitHeight)).toRect());
}

void RecorderFace::Draw(QPainter& painter, const RecorderFaceState& state) const {
    painter.drawPixmap(0, 0, m_Background);

    const QRect lamp = LampRect();
    painter.drawPixmap(
        QPointF(lamp.topLeft()), m_Lamp,
        Skin::PixelsOf(m_Lamp, QRect(LampLit(state) ? lamp.width() : 0, 0, lamp.width(), lamp.height())));

    int digits[6];
    TimeDigits(state.elapsedSeconds, digits);
    for (int i = 0; i < 6; ++i)
        painter.drawPixmap(
            QPointF(kDigitX[i], kDigitTop), m_Digits,
            Skin::PixelsOf(m_Digits, QRect(digits[i] * kDigitWidth, 0, kDigitWidth, kDigitHeight)));

    DrawFormatLine(painter, state);

    painter.setFont(ui::CellHeightFont(QStringLiteral("돋움체"), 13, QFont::Bold));
    painter.setPen(Qt::white);
    painter.drawText(QRect(120, 8, 100, 14), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     state.status);
}

void RecorderFace::DrawFormatLine(QPainter& painter, const RecorderFaceState& state) const {
    constexpr int top = 50;
    constexpr int height = 12;
    constexpr auto flags = Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setFont(ui::CellHeightFont(QStringLiteral("돋움체"), 11));
    painter.setPen(Qt::white);
    const std::array<QString, 4> parts = FormatParts(state);
    painter.drawText(QRect(20, top, 40, height), flags | Qt::AlignLeft, parts[0]);
    painter.drawText(QRect(76, top, 80, height), flags | Qt::AlignHCenter, parts[1]);
    painter.drawText(QRect(166, top, 80, height), flags | Qt::AlignHCenter, parts[2]);
    painter.drawText(QRect(256, top, 55, height), flags | Qt::AlignRight, parts[3]);
}
