// Static previews of the faces: background, buttons, and sample texts where the windows draw.
#include "ui/gallery/FacePreviews.h"

#include "ui/CHoverButton.h"
#include "ui/CxSkinButton.h"
#include "ui/Fonts.h"
#include "ui/ImageRegion.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"
#include "ui/SplitterBitmaps.h"

#include <QLineEdit>
#include <QPainter>
#include <QWidget>

namespace {

class Face : public QWidget {
public:
    Face(QWidget* parent, SkinSet set, int id, std::function<void(QPainter&)> extra)
        : QWidget(parent), set_(set), id_(id), extra_(std::move(extra)) {
        const QImage face = Skin::Image(set, id);
        resize(face.size());
        setMask(ui::RegionOfPixelsNot(face, kSkinColourKey));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(0, 0, Skin::Bitmap(set_, id_));
        extra_(p);
    }

private:
    SkinSet set_;
    int id_;
    std::function<void(QPainter&)> extra_;
};

CHoverButton* Hover(QWidget* parent, SkinSet set, int id, int x, int y, int w, int h) {
    auto* b = new CHoverButton(parent);
    b->LoadBitmap(set, id, 3);
    b->setGeometry(x, y, w, h);
    return b;
}

CxSkinButton* Skinned(QWidget* parent, SkinSet set, std::array<int, 5> ids, int mask, QRect at) {
    auto* b = new CxSkinButton(parent);
    b->SetSkin(set, ids[0], ids[1], ids[2], ids[3], ids[4], mask, 0, 0, 0);
    b->setGeometry(at);
    return b;
}

void RecorderTexts(QPainter& p) {
    using namespace RecorderBitmap;
    const QPixmap lamp = Skin::Bitmap(SkinSet::Recorder, IDB_LAMP);
    p.drawPixmap(QPointF(17, 71), lamp, Skin::PixelsOf(lamp, QRect(28, 0, 28, 28)));
    const QPixmap digits = Skin::SeeThroughBitmap(SkinSet::Recorder, IDB_DIGITS);
    const int shown[6] = {0, 1, 0, 2, 0, 3};
    const int xs[6] = {55, 68, 87, 100, 119, 132};
    for (int i = 0; i < 6; ++i)
        p.drawPixmap(QPointF(xs[i], 74), digits, Skin::PixelsOf(digits, QRect(shown[i] * 13, 0, 13, 18)));
    p.setPen(Qt::white);
    p.setFont(ui::CellHeightFont(QStringLiteral("돋움체"), 11));
    const int f = Qt::TextSingleLine | Qt::AlignVCenter;
    p.drawText(QRect(20, 50, 40, 12), f | Qt::AlignLeft, QStringLiteral("MP3"));
    p.drawText(QRect(76, 50, 80, 12), f | Qt::AlignHCenter, QStringLiteral("128 Kbps"));
    p.drawText(QRect(166, 50, 80, 12), f | Qt::AlignHCenter, QStringLiteral("44100 Hz"));
    p.drawText(QRect(256, 50, 55, 12), f | Qt::AlignRight, QStringLiteral("STEREO"));
    p.setFont(ui::CellHeightFont(QStringLiteral("돋움체"), 13, QFont::Bold));
    p.drawText(QRect(120, 8, 100, 14), f | Qt::AlignLeft, QStringLiteral("[녹음중]"));
    // A still of the spectrum columns, to judge the display as a whole.
    for (int i = 0; i < 24; ++i) {
        const int h = 4 + int(24 * std::abs(std::sin(i * 0.55)) * (1.0 - i / 30.0));
        p.fillRect(QRect(174 + i * 5, 101 - h, 4, h), QColor(0x3b, 0xc9, 0xdb));
    }
    p.drawPixmap(300, 68, Skin::Bitmap(SkinSet::Recorder, IDB_VOLUME_TRACK));
    p.drawPixmap(300, 80, Skin::Bitmap(SkinSet::Recorder, IDB_VOLUME_THUMB));
}

void SplitterTexts(QPainter& p) {
    using namespace SplitterBitmap;
    // The range slider's own drawing is not the kit's; a sketch of it shows the thumbs in place.
    p.fillRect(QRect(8, 96, 483, 60), Qt::white);
    p.fillRect(QRect(18, 130, 463, 11), QColor(0x5f, 0x50, 0x3c));
    p.fillRect(QRect(120, 130, 230, 11), QColor(0xff, 0xbe, 0x00));
    p.drawPixmap(120 - 18, 96 + 29, Skin::Bitmap(SkinSet::Splitter, IDB_THUMB_START));
    p.drawPixmap(350, 96 + 29, Skin::Bitmap(SkinSet::Splitter, IDB_THUMB_END));
    p.setFont(ui::CellHeightFont(QStringLiteral("돋움체"), 12));
    p.setPen(Qt::black);
    p.drawText(QRect(186, 176, 62, 15), Qt::AlignCenter, QStringLiteral("00:01:30"));
    p.drawText(QRect(292, 176, 62, 15), Qt::AlignCenter, QStringLiteral("00:04:10"));
    p.setFont(ui::CellHeightFont(QStringLiteral("돋움체"), 13));
    p.setPen(QColor(110, 110, 110));
    p.drawText(QRect(100, 75, 60, 13), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("00:02:07"));
}

} // namespace

QWidget* MakeRecorderFacePreview(QWidget* parent) {
    using namespace RecorderBitmap;
    constexpr SkinSet R = SkinSet::Recorder;
    auto* face = new Face(parent, R, IDB_FACE, RecorderTexts);
    Skinned(face, R, {IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_HOVER, 0, 0}, IDB_ROUND_MASK,
            {9, 115, 34, 34});
    Skinned(face, R, {IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_HOVER, 0, 0}, IDB_ROUND_MASK,
            {48, 115, 34, 34});
    Skinned(face, R, {IDB_SPLIT_NORMAL, IDB_SPLIT_PRESSED, IDB_SPLIT_HOVER, 0, 0}, IDB_WIDE_MASK,
            {169, 120, 75, 26});
    Skinned(face, R, {IDB_FOLDER_NORMAL, IDB_FOLDER_PRESSED, IDB_FOLDER_HOVER, 0, 0}, IDB_WIDE_MASK,
            {245, 120, 75, 26});
    Hover(face, R, IDB_BTN_ABOUT, 231, 4, 20, 20);
    Hover(face, R, IDB_BTN_SETTINGS, 255, 4, 20, 20);
    Hover(face, R, IDB_BTN_MINIMIZE, 278, 3, 22, 22);
    Hover(face, R, IDB_BTN_CLOSE, 302, 3, 22, 22);
    return face;
}

QWidget* MakeSplitterFacePreview(QWidget* parent) {
    using namespace SplitterBitmap;
    constexpr SkinSet S = SkinSet::Splitter;
    auto* face = new Face(parent, S, IDB_BACKGROUND, SplitterTexts);
    Hover(face, S, IDB_BTN_CLOSE, 470, 3, 22, 22);
    Hover(face, S, IDB_BTN_MINIMIZE, 447, 3, 22, 22);
    Hover(face, S, IDB_BTN_ABOUT, 416, 4, 20, 20);
    Hover(face, S, IDB_BTN_OPEN, 343, 36, 70, 24);
    Hover(face, S, IDB_BTN_FOLDER, 417, 36, 70, 24);
    auto* path = new QLineEdit(QStringLiteral("/home/user/음악/20260314_093005.mp3"), face);
    path->setGeometry(68, 42, 260, 16);
    path->setFrame(false);
    path->setEnabled(false);
    path->setStyleSheet(QStringLiteral("QLineEdit:disabled { color: black; background: white; }"));
    Skinned(face, S, {IDB_CUT_NORMAL, IDB_CUT_PRESSED, IDB_CUT_HOVER, 0, 0}, IDB_CUT_MASK,
            {392, 168, 96, 30});
    Skinned(face, S, {IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_HOVER, IDB_STOP_DISABLED, 0},
            IDB_ROUND_MASK, {90, 165, 34, 34})
        ->setEnabled(false);
    Skinned(face, S, {IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_HOVER, IDB_PAUSE_DISABLED, 0},
            IDB_ROUND_MASK, {52, 165, 34, 34});
    Skinned(face, S, {IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER, IDB_PLAY_DISABLED, 0},
            IDB_ROUND_MASK, {14, 165, 34, 34})
        ->setEnabled(false);
    return face;
}
