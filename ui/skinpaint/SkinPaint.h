// Drawing kit of the skin painter: palette, icons, button faces and the picture writer. The
// painter is a developer tool; its output PNGs are committed under ui/skin/.
#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace skinpaint {

namespace colour {
inline const QColor kTitleTop(0x4d, 0x54, 0x5d);
inline const QColor kTitleBottom(0x24, 0x28, 0x2e);
inline const QColor kGraphite(0x2b, 0x30, 0x36);
inline const QColor kInk(0x2b, 0x30, 0x36);
inline const QColor kLightInk(0xe9, 0xec, 0xef);
inline const QColor kAccent(0x4d, 0xab, 0xf7);
inline const QColor kRecordRed(0xe0, 0x31, 0x31);
inline const QColor kCloseRed(0xd9, 0x44, 0x3b);
inline const QColor kAmber(0xf5, 0x9f, 0x00);
inline const QColor kMagenta(0xff, 0x00, 0xff);
} // namespace colour

enum class State { Normal, Hover, Pressed, Disabled };
enum class Icon {
    None,
    Record,
    Pause,
    Stop,
    Play,
    Folder,
    OpenFile,
    Gear,
    Info,
    Minimise,
    Close,
    Scissors,
    Home
};

// Every picture is drawn once per scale: 1 for ordinary screens, 2 for HiDPI ones. A picture made
// by Picture() carries its scale as device pixel ratio, so its painter draws in 1x coordinates.
void SetScale(int scale);
QImage Picture(int width, int height, QImage::Format format);
QSize LogicalSize(const QImage& picture);
// A rectangle in 1x coordinates as the pixels of a picture drawn at the current scale.
QRect Pixels(const QRect& logical);

// Transparent canvas with antialiasing on.
QImage Canvas(int width, int height);
void Antialias(QPainter& p);

// The title band's colour at row y (0 to 31); every title bar and title icon uses it.
QColor TitleColour(int y);
void FillTitleBand(QPainter& p, const QRect& rect, int firstRow = 0);

QFont CaptionFont(int pixelSize, bool bold = true);
void DrawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& ink);

// Faces of the button families.
void DrawRoundButton(QPainter& p, const QRectF& box, Icon icon, State state);
void DrawPillButton(QPainter& p, const QRectF& box, Icon icon, const QString& caption, State state,
                    bool primary = false);
void DrawTitleIconButton(QPainter& p, const QRectF& box, Icon icon, State state);
// A strip of `states` pictures side by side from one face painter.
template <typename Face> QImage Strip(int width, int height, std::initializer_list<State> states, Face face) {
    QImage strip = Canvas(width * int(states.size()), height);
    QPainter p(&strip);
    Antialias(p);
    int i = 0;
    for (State s : states)
        face(p, QRectF(i++ * width, 0, width, height), s);
    return strip;
}
inline constexpr std::initializer_list<State> kThreeStates = {State::Normal, State::Hover, State::Pressed};

// Black shape on white, for skin button masks.
QImage RoundMask(int size);
QImage PillMask(int width, int height);
// Hard-edged colour key: pixels less than half covered become magenta, the rest opaque.
QImage KeyOnMagenta(const QImage& argb);
// A window face keyed so: painted at the current scale, but see-through exactly where its 1x
// picture is, since the 1x picture shapes the window at every scale.
QImage KeyedLike1x(QImage (*paint)());

class Writer {
public:
    explicit Writer(const QString& root) : root_(root) {}
    // Writes <program>/<id>.png at scale 1 and <program>/<id>@2x.png at scale 2.
    void Save(const char* program, int id, const QImage& image);
    int Count() const { return count_; }

private:
    QDir root_;
    int count_ = 0;
};

// A window face: rounded body in a vertical gradient, the title band with an icon and the
// program's name; the painter stays clipped to the outline until FinishWindowFace draws its edge.
void PaintWindowFace(QPainter& p, const QSize& size, const QColor& bodyTop, const QColor& bodyBottom,
                     Icon icon, const QColor& iconInk, const QString& title);
void FinishWindowFace(QPainter& p, const QSize& size, const QColor& edge);

// Shared pictures.
QImage TitleBar(Icon icon, const QString& text);
QImage AboutFooter(const QString& wordmark);
QImage AppIcon(Icon icon, const QColor& ink);
void DrawGraphiteTile(QPainter& p, const QRectF& tile, double radius);
// The About boxes' 100 x 90 picture: a graphite tile on the box's grey, to draw an emblem on.
QImage EmblemCanvas();
QImage TitleButtonStrip(int size, Icon icon);
QImage HomepageStrip();
QImage RoundFace(Icon icon, State state);
QImage PillFace(int width, int height, Icon icon, const QString& caption, State state);

void PaintRecorderSkin(Writer& out);
void PaintSplitterSkin(Writer& out);
void PaintSharedDialogParts(Writer& out, const char* program, int ok, int cancel);

} // namespace skinpaint
