// quor_ui_gallery: every picture of the kit in every state, the faces with their buttons, the
// dialogs' parts; `--boxes` shows the notification boxes of both programs instead.
#include "ui/CHoverButton.h"
#include "ui/CMssageBoxDlg.h"
#include "ui/Fonts.h"
#include "ui/ImageRegion.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"
#include "ui/SplitterBitmaps.h"
#include "ui/gallery/FacePreviews.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <vector>

namespace {

const QColor kTitle(0x33, 0x38, 0x3f), kDarkBody(0x23, 0x27, 0x2d), kSilver(0xe6, 0xe9, 0xed);
const QColor kAboutGrey(236, 236, 236);

QPixmap Masked(SkinSet set, int id, int maskId) {
    QPixmap picture = Skin::Bitmap(set, id);
    if (maskId == 0 || picture.isNull())
        return picture;
    const QImage alpha = ui::MaskCoverage(Skin::Bitmap(set, maskId).toImage());
    QPixmap out(picture.size());
    out.setDevicePixelRatio(picture.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawPixmap(0, 0, picture);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, alpha);
    return out;
}

struct Item {
    QString label;
    std::vector<QPixmap> pictures; // drawn side by side with a small gap
    QColor swatch;
};

// Every strip split into its pictures, every skin in its states.
std::vector<Item> Items() {
    using R = SkinSet;
    auto strip = [](R set, int id, int count) {
        std::vector<QPixmap> out;
        const QPixmap all = Skin::Bitmap(set, id);
        for (int i = 0; i < count; ++i) { // cut in the strip's own pixels
            QPixmap piece = all.copy(i * all.width() / count, 0, all.width() / count, all.height());
            piece.setDevicePixelRatio(all.devicePixelRatio());
            out.push_back(piece);
        }
        return out;
    };
    auto skins = [](R set, std::initializer_list<int> ids, int mask) {
        std::vector<QPixmap> out;
        for (int id : ids)
            out.push_back(Masked(set, id, mask));
        return out;
    };
    namespace rb = RecorderBitmap;
    namespace sb = SplitterBitmap;
    return {
        {"R136 R216 R214 R215 R177  close, minimise, info, settings, popup x",
         [&] {
             std::vector<QPixmap> v;
             for (auto [id, n] : {std::pair{rb::IDB_BTN_CLOSE, 3},
                                  {rb::IDB_BTN_MINIMIZE, 3},
                                  {rb::IDB_BTN_ABOUT, 3},
                                  {rb::IDB_BTN_SETTINGS, 3},
                                  {rb::IDB_POPUP_CLOSE, 3}})
                 for (auto& p : strip(R::Recorder, id, n))
                     v.push_back(p);
             return v;
         }(),
         kTitle},
        {"R165 R176 / S163 S164  확인, 취소",
         [&] {
             auto v = strip(R::Recorder, rb::IDB_BTN_OK, 3);
             for (auto& p : strip(R::Recorder, rb::IDB_BTN_CANCEL, 3))
                 v.push_back(p);
             return v;
         }(),
         Qt::white},
        {"R166 R168 R167  page buttons (locked, normal)",
         [&] {
             std::vector<QPixmap> v;
             for (int id : {rb::IDB_PAGE_FILE, rb::IDB_PAGE_VOLUME})
                 for (auto& p : strip(R::Recorder, id, 2))
                     v.push_back(p);
             return v;
         }(),
         Qt::white},
        {"", strip(R::Recorder, rb::IDB_PAGE_RECORD, 2), Qt::white},
        {"R171 / S155  홈페이지", strip(R::Recorder, rb::IDB_BTN_HOMEPAGE, 3), kAboutGrey},
        {"S138 S137  파일열기, 저장폴더",
         [&] {
             auto v = strip(R::Splitter, sb::IDB_BTN_OPEN, 3);
             for (auto& p : strip(R::Splitter, sb::IDB_BTN_FOLDER, 3))
                 v.push_back(p);
             return v;
         }(),
         kSilver},
        {"R159 R160 R158 record · R156 R157 R155 pause · R204-206 stop  (mask 154)",
         [&] {
             auto v =
                 skins(R::Recorder, {rb::IDB_RECORD_NORMAL, rb::IDB_RECORD_HOVER, rb::IDB_RECORD_PRESSED},
                       rb::IDB_ROUND_MASK);
             for (auto& p :
                  skins(R::Recorder, {rb::IDB_PAUSE_NORMAL, rb::IDB_PAUSE_HOVER, rb::IDB_PAUSE_PRESSED},
                        rb::IDB_ROUND_MASK))
                 v.push_back(p);
             for (auto& p :
                  skins(R::Recorder, {rb::IDB_STOP_NORMAL, rb::IDB_STOP_HOVER, rb::IDB_STOP_PRESSED},
                        rb::IDB_ROUND_MASK))
                 v.push_back(p);
             return v;
         }(),
         kDarkBody},
        {"R207-209 자르개 · R211-213 저장폴더  (mask 210)",
         [&] {
             auto v = skins(R::Recorder, {rb::IDB_SPLIT_NORMAL, rb::IDB_SPLIT_HOVER, rb::IDB_SPLIT_PRESSED},
                            rb::IDB_WIDE_MASK);
             for (auto& p :
                  skins(R::Recorder, {rb::IDB_FOLDER_NORMAL, rb::IDB_FOLDER_HOVER, rb::IDB_FOLDER_PRESSED},
                        rb::IDB_WIDE_MASK))
                 v.push_back(p);
             return v;
         }(),
         kDarkBody},
        {"S152… play · S141… pause · S144… stop: normal, hover, pressed, disabled (mask 148)",
         [&] {
             std::vector<QPixmap> v;
             for (auto ids : {std::array{sb::IDB_PLAY_NORMAL, sb::IDB_PLAY_HOVER, sb::IDB_PLAY_PRESSED,
                                         sb::IDB_PLAY_DISABLED},
                              std::array{sb::IDB_PAUSE_NORMAL, sb::IDB_PAUSE_HOVER, sb::IDB_PAUSE_PRESSED,
                                         sb::IDB_PAUSE_DISABLED},
                              std::array{sb::IDB_STOP_NORMAL, sb::IDB_STOP_HOVER, sb::IDB_STOP_PRESSED,
                                         sb::IDB_STOP_DISABLED}})
                 for (int id : ids)
                     v.push_back(Masked(R::Splitter, id, sb::IDB_ROUND_MASK));
             return v;
         }(),
         kSilver},
        {"S146 S147 S145  자르기 (mask 150) · S129 S130 thumbs",
         [&] {
             auto v = skins(R::Splitter, {sb::IDB_CUT_NORMAL, sb::IDB_CUT_HOVER, sb::IDB_CUT_PRESSED},
                            sb::IDB_CUT_MASK);
             v.push_back(Skin::Bitmap(R::Splitter, sb::IDB_THUMB_START));
             v.push_back(Skin::Bitmap(R::Splitter, sb::IDB_THUMB_END));
             return v;
         }(),
         kSilver},
        {"R202 lamp · R203 digits · R175 R142 volume · R128 S128 icons",
         {Skin::Bitmap(R::Recorder, rb::IDB_LAMP), Skin::Bitmap(R::Recorder, rb::IDB_DIGITS),
          Skin::Bitmap(R::Recorder, rb::IDB_VOLUME_TRACK), Skin::Bitmap(R::Recorder, rb::IDB_VOLUME_THUMB),
          Skin::Bitmap(R::Recorder, rb::IDR_MAINFRAME), Skin::Bitmap(R::Splitter, sb::IDR_MAINFRAME)},
         kDarkBody},
    };
}

class Board : public QWidget {
public:
    explicit Board(QWidget* parent) : QWidget(parent), items_(Items()) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        int y = 0;
        for (const Item& item : items_) {
            if (!item.label.isEmpty()) {
                p.setPen(QColor(0x34, 0x3a, 0x40));
                p.setFont(ui::CellHeightFont(QStringLiteral("돋움"), 13, QFont::Bold));
                p.drawText(QRect(0, y, width(), 16), Qt::AlignLeft | Qt::AlignVCenter, item.label);
                y += 18;
            } else {
                y -= 8; // continues the row above
            }
            int h = 0;
            for (const QPixmap& pic : item.pictures)
                h = std::max(h, Skin::SizeOf(pic).height());
            p.fillRect(QRect(0, y, width(), h + 12), item.swatch);
            int x = 8;
            for (const QPixmap& pic : item.pictures) {
                p.drawPixmap(x, y + 6 + (h - Skin::SizeOf(pic).height()) / 2, pic);
                x += Skin::SizeOf(pic).width() + 6;
            }
            y += h + 12 + 8;
        }
    }

private:
    std::vector<Item> items_;
};

// The About box and the settings dialog's head, assembled as their windows draw them.
class DialogParts : public QWidget {
public:
    explicit DialogParts(QWidget* parent) : QWidget(parent) {
        using namespace RecorderBitmap;
        auto* home = new CHoverButton(this);
        home->LoadBitmap(SkinSet::Recorder, IDB_BTN_HOMEPAGE, 3);
        home->move(245, 150);
        auto* close = new CHoverButton(this);
        close->LoadBitmap(SkinSet::Recorder, IDB_BTN_CLOSE, 3);
        close->move(322, 3);
        for (int i = 0; i < 3; ++i) {
            auto* page = new CHoverButton(this);
            page->LoadBitmap(SkinSet::Recorder, IDB_PAGE_FILE + (i == 1 ? 2 : i == 2 ? 1 : 0), 2);
            page->move(376 + 10 + i * 104, 40);
            page->SetLocked(i == 0);
        }
        auto* settingsClose = new CHoverButton(this);
        settingsClose->LoadBitmap(SkinSet::Recorder, IDB_BTN_CLOSE, 3);
        settingsClose->move(376 + 322, 5);
        auto* ok = new CHoverButton(this);
        ok->LoadBitmap(SkinSet::Recorder, IDB_BTN_OK, 3);
        ok->move(376 + 139, 190);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        using namespace RecorderBitmap;
        QPainter p(this);
        const SkinSet R = SkinSet::Recorder;
        p.fillRect(QRect(0, 0, 356, 226), kAboutGrey);
        p.setPen(QColor(181, 181, 181));
        p.drawRect(0, 0, 355, 225);
        p.drawPixmap(0, 0, Skin::Bitmap(R, IDB_ABOUT_TITLE));
        p.drawPixmap(25, 60, Skin::Bitmap(R, IDB_ABOUT_PICTURE));
        p.drawPixmap(25, 197, Skin::Bitmap(R, IDB_ABOUT_FOOTER));
        p.setPen(Qt::black);
        p.setFont(ui::CellHeightFont(QStringLiteral("돋움"), 13));
        p.drawText(
            QRect(140, 62, 210, 60), Qt::AlignLeft,
            QStringLiteral(
                "쿠오르녹음기는 컴퓨터에서 나는\n모든 소리를 MP3,WAV파일로\n녹음하여 주는 프로그램 입니다."));
        p.drawText(QRect(140, 120, 210, 20), Qt::AlignLeft, QStringLiteral("© QuorTools"));

        p.translate(376, 0);
        p.fillRect(QRect(0, 0, 353, 226), Qt::white);
        p.setPen(QColor(0xB5, 0xB5, 0xB5));
        p.drawRect(0, 0, 352, 225);
        const QPixmap title = Skin::Bitmap(R, IDB_SETTINGS_TITLE);
        p.drawPixmap(QPointF(0, 0), title, Skin::PixelsOf(title, QRect(0, 0, 353, 32)));
        p.fillRect(QRect(10, 76, 333, 104), QColor(0xF6, 0xF6, 0xF6));
        p.drawRect(10, 76, 332, 103);
    }
};

// The information popup's head and foot, with the page area between them cut short.
class PopupParts : public QWidget {
public:
    explicit PopupParts(QWidget* parent) : QWidget(parent) {
        auto* close = new CHoverButton(this);
        close->LoadBitmap(SkinSet::Recorder, RecorderBitmap::IDB_POPUP_CLOSE, 3);
        close->move(305, 7);
        resize(330, 112);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        using namespace RecorderBitmap;
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawPixmap(0, 0, Skin::Bitmap(SkinSet::Recorder, IDB_POPUP_HEADER));
        p.drawPixmap(0, 82, Skin::Bitmap(SkinSet::Recorder, IDB_POPUP_FOOTER));
        p.setPen(QColor(120, 120, 120));
        p.setFont(ui::CellHeightFont(QStringLiteral("돋움"), 12));
        p.drawRect(100, 89, 12, 12);
        p.drawText(QRect(117, 88, 150, 14), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("다시 이 창을 열지않음"));
        p.setPen(QColor(28, 28, 28));
        p.drawRect(0, 0, 329, 111);
    }
};

void ShowBoxes() {
    auto* backdrop = new QWidget;
    backdrop->setWindowTitle(QStringLiteral("notification boxes"));
    backdrop->setStyleSheet(QStringLiteral("background: #5b636d;"));
    backdrop->setGeometry(0, 0, 1280, 800);
    backdrop->show();
    struct Box {
        QString message;
        int layout, width, height;
        bool splitter;
        QPoint at;
    } boxes[] = {
        {QStringLiteral("녹음중 입니다. 쿠오르녹음기를 종료하시겠습니까?"), 2, 300, 150, false, {40, 40}},
        {QStringLiteral("녹음 장치가 오픈되어 있지 않습니다."), 1, 300, 150, false, {380, 40}},
        {QStringLiteral(
             "녹음을 위해서 스테레오 장치가 필요합니다.\r\n스테레오 믹스를 사용 및 기본 장치로 설정해 "
             "주세요.\r\n사운드 설정탭을 오픈합니다."),
         1,
         350,
         180,
         false,
         {40, 230}},
        {QStringLiteral("\r\n\r\n저장이 완료되었습니다."), 1, 300, 150, true, {430, 230}},
        {QStringLiteral("\r\n\r\n같은 이름의 파일이 있습니다.\r\n덮어쓰시겠습니까?"),
         2,
         300,
         150,
         true,
         {770, 230}},
        {QStringLiteral("\r\n\r\n파일을 선택하세요."), 1, 200, 130, true, {770, 40}},
        // Boxes that report a lost sound server or a cut that went wrong.
        {QStringLiteral(
             "사운드 서버와의 연결이 끊어져\r\n녹음을 멈췄습니다.\r\n녹음된 부분은 저장되었습니다."),
         1,
         300,
         150,
         false,
         {40, 440}},
        {QStringLiteral("\r\n\r\n사운드 서버와의 연결이 끊어져\r\n재생을 멈췄습니다."),
         1,
         300,
         150,
         true,
         {380, 440}},
        {QStringLiteral("\r\n\r\n자를 구간이 없습니다.\r\n시작과 끝을 다르게 정하세요."),
         1,
         300,
         150,
         true,
         {720, 440}},
        {QStringLiteral("\r\n\r\n파일 이름이 너무 깁니다.\r\n(255바이트까지 쓸 수 있습니다.)"),
         1,
         300,
         150,
         true,
         {40, 620}},
        {QStringLiteral("\r\n\r\n변환 모듈이 응답하지 않아\r\n파일 자르기를 멈췄습니다."),
         1,
         300,
         150,
         true,
         {380, 620}},
    };
    for (const Box& b : boxes) {
        auto* box = new CMssageBoxDlg(backdrop, b.splitter ? MessageBoxTemplate::Splitter()
                                                           : MessageBoxTemplate::Recorder());
        box->setModal(false);
        box->Configure(b.message, QStringLiteral("알림"), b.layout, b.width, b.height);
        box->move(b.at);
        box->show();
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::SetUpFonts();
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--boxes")) {
        ShowBoxes();
        return app.exec();
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("QuorTools UI kit"));
    window.setStyleSheet(QStringLiteral("QWidget#kit { background: #cfd4da; }"));
    window.setObjectName(QStringLiteral("kit"));
    window.setGeometry(0, 0, 1280, 800);
    MakeRecorderFacePreview(&window)->move(20, 20);
    MakeSplitterFacePreview(&window)->move(20, 200);
    (new DialogParts(&window))->setGeometry(20, 430, 740, 230);
    (new PopupParts(&window))->move(20, 672);
    (new Board(&window))->setGeometry(780, 12, 490, 780);
    window.show();
    return app.exec();
}
