// The main window's face: background, recording lamp, elapsed time in digit images, the format
// line and the status text, at the places the window's layout fixes. Window thread only.
#pragma once

#include "recorder/settings/FileType.h"

#include <QPixmap>
#include <QRect>
#include <QString>

#include <array>

class QPainter;

struct RecorderFaceState {
    int elapsedSeconds = 0;
    bool recording = false;
    bool paused = false;
    int fileType = kFileTypeMp3;
    int bitRate = 0;
    int sampleRate = 0;
    QString status;
};

class RecorderFace {
public:
    static constexpr int kWidth = 330;
    static constexpr int kHeight = 158;
    static constexpr int kDigitWidth = 13;
    static constexpr int kDigitHeight = 18;
    static constexpr int kDigitTop = 74;
    // x of the six time digits: hours, minutes, seconds, tens then ones.
    static constexpr int kDigitX[6] = {55, 68, 87, 100, 119, 132};

    static QRect LampRect() { return {17, 71, 28, 28}; }
    static QRect StatusRect() { return {120, 8, 100, 17}; }       // invalidated area, 120,8 to 220,25
    static QRect TimeAndFormatRect() { return {8, 42, 152, 67}; } // 8,42 to 160,109
    static QRect TimeRect() { return {55, kDigitTop, 90, kDigitHeight}; }
    static QRect FormatRect() { return {20, 50, 291, 12}; }

    RecorderFace(); // loads the pictures
    void Draw(QPainter& painter, const RecorderFaceState& state) const;

    // The lamp is lit while paused, and on odd seconds while recording (a once-a-second blink).
    static bool LampLit(const RecorderFaceState& state);
    // The six digits of HH:MM:SS (hours modulo 60, as the display has two places).
    static void TimeDigits(int elapsedSeconds, int digits[6]);
    static QString TypeLabel(int fileType);
    // What the face shows as text, for screen readers: "01:02:03", "MP3 128 Kbps 44100 Hz STEREO".
    static QString TimeText(int elapsedSeconds);
    static QString FormatText(const RecorderFaceState& state);

    // The digit picture with its colour key made transparent, for tests to compare against.
    QPixmap Digit(int value) const;
    const QPixmap& Background() const { return m_Background; }

private:
    // Type, bit rate, sample rate and channels, left to right.
    static std::array<QString, 4> FormatParts(const RecorderFaceState& state);
    void DrawFormatLine(QPainter& painter, const RecorderFaceState& state) const;

    QPixmap m_Background;
    QPixmap m_Lamp;
    QPixmap m_Digits;
};
