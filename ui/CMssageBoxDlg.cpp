// Geometry, painting and keys of the notification box.
#include "ui/CMssageBoxDlg.h"

#include "ui/AccessibleName.h"
#include "ui/CHoverButton.h"
#include "ui/CentreOverOwner.h"
#include "ui/ControlId.h"
#include "ui/DialogKeys.h"
#include "ui/Fonts.h"
#include "ui/MessageBoxIds.h"
#include "ui/RecorderBitmaps.h"
#include "ui/SplitterBitmaps.h"
#include "ui/TextReadout.h"
#include "ui/WindowDragger.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include <vector>

namespace {
constexpr QRgb kTitleTop = 0xA0A0A0;
constexpr QRgb kTitleBottom = 0x424242;
constexpr int kTitleBand = 25;
constexpr QRgb kFrame = 0x4C4C4C;
constexpr QRgb kFirstLine = 0x4B4B4B;
constexpr QRgb kOtherLines = 0x696969;
constexpr int kLineBand = 20;
constexpr QSize kButton(75, 23);

QColor Blend(QRgb from, QRgb to, int step, int steps) {
    auto mix = [&](int a, int b) { return a + (b - a) * step / steps; };
    return QColor(mix(qRed(from), qRed(to)), mix(qGreen(from), qGreen(to)), mix(qBlue(from), qBlue(to)));
}
} // namespace

const MessageBoxTemplate& MessageBoxTemplate::Recorder() {
    using namespace CMssageBoxDlgIds;
    static const MessageBoxTemplate form{SkinSet::Recorder,
                                         IDC_BTN_OK,
                                         IDC_BTN_CANCEL,
                                         IDC_STATIC_TITLE,
                                         0,
                                         RecorderBitmap::IDB_BTN_OK,
                                         RecorderBitmap::IDB_BTN_CANCEL,
                                         30};
    return form;
}

const MessageBoxTemplate& MessageBoxTemplate::Splitter() {
    using namespace CMssageBoxDlgSplitIds;
    static const MessageBoxTemplate form{SkinSet::Splitter,
                                         IDC_BTN_OK,
                                         IDC_BTN_CANCEL,
                                         IDC_STATIC_TITLE,
                                         IDC_STATIC_MESSAGE,
                                         SplitterBitmap::IDB_BTN_OK,
                                         SplitterBitmap::IDB_BTN_CANCEL,
                                         28};
    return form;
}

CMssageBoxDlg::CMssageBoxDlg(QWidget* parent, const MessageBoxTemplate& form)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), form_(form), title_(QStringLiteral("알림")) {
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    ok_ = new CHoverButton(this);
    ui::SetControlId(ok_, "IDC_BTN_OK", form_.okId);
    ok_->LoadBitmap(form_.skin, form_.okBitmap, 3);
    ok_->setText(QStringLiteral("확인"));
    connect(ok_, &QAbstractButton::clicked, this, [this] { done(ui::IDOK); });

    cancel_ = new CHoverButton(this);
    ui::SetControlId(cancel_, "IDC_BTN_CANCEL", form_.cancelId);
    cancel_->LoadBitmap(form_.skin, form_.cancelBitmap, 3);
    cancel_->setText(QStringLiteral("취소"));
    connect(cancel_, &QAbstractButton::clicked, this, [this] { done(ui::IDCANCEL); });

    // Messages name files; a "<" in a name must stay text, never become markup.
    titleLabel_ = new QLabel(title_, this);
    titleLabel_->setTextFormat(Qt::PlainText);
    ui::SetControlId(titleLabel_, "IDC_STATIC_TITLE", form_.titleId);
    titleLabel_->setFont(ui::CellHeightFont(QStringLiteral("Arial"), 18, QFont::Bold));
    titleLabel_->setStyleSheet(QStringLiteral("color: #FFFFFF; background: transparent;"));
    titleLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);

    if (form_.messageId != 0) {
        messageLabel_ = new QLabel(this);
        messageLabel_->setTextFormat(Qt::PlainText);
        ui::SetControlId(messageLabel_, "IDC_STATIC_MESSAGE", form_.messageId);
        messageLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        messageLabel_->setWordWrap(true);
        messageLabel_->setFont(ui::CellHeightFont(QStringLiteral("돋음"), 16, QFont::DemiBold));
        messageLabel_->setStyleSheet(QStringLiteral("color: #000000; background: transparent;"));
        messageLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    } else {
        messageReadout_ = new ui::TextReadout(this, {});
    }
    // Screen readers announce an alert with its title and its text as the box opens.
    ui::SetAccessibleRole(this, QAccessible::AlertMessage);
    new WindowDragger(this);
    Configure(QString(), title_, 0, 100, 100);
}

void CMssageBoxDlg::Configure(const QString& message, const QString& title, int buttonLayout, int width,
                              int height) {
    message_ = message;
    title_ = title;
    buttonLayout_ = buttonLayout;
    resize(width, height);
    ui::CentreOverOwner(this);

    titleLabel_->setText(title_);
    // The title's own width where it needs more than its 30 pixels, so it is never cut.
    const int titleWidth = std::max(30, titleLabel_->fontMetrics().horizontalAdvance(title_) + 2);
    titleLabel_->setGeometry(10, 6, titleWidth, 18);

    const int top = height - form_.buttonBottomGap;
    if (buttonLayout_ == kBoxOkOnly) {
        ok_->setGeometry(width / 2 - 37, top, kButton.width(), kButton.height());
        cancel_->hide();
    } else {
        ok_->setGeometry(width / 2 - 79, top, kButton.width(), kButton.height());
        cancel_->setGeometry(width / 2 + 4, top, kButton.width(), kButton.height());
        cancel_->show();
    }
    if (messageLabel_) {
        messageLabel_->setGeometry(10, 30, width - 20, height - 63);
        messageLabel_->setText(QString(message_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } else {
        messageReadout_->setGeometry(10, kTitleBand, width - 20, std::max(0, top - kTitleBand));
        messageReadout_->SetText(message_.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).join(u'\n'));
    }
    setAccessibleName(title_);
    update();
}

int CMssageBoxDlg::DoModal() {
    return exec();
}

int CMssageBoxDlg::Show(QWidget* parent, const QString& message, const QString& title, int buttonLayout,
                        int width, int height, const MessageBoxTemplate& form) {
    CMssageBoxDlg box(parent, form);
    box.Configure(message, title, buttonLayout, width, height);
    return box.DoModal();
}

void CMssageBoxDlg::reject() {
    done(ui::IDCANCEL);
}

void CMssageBoxDlg::keyPressEvent(QKeyEvent* event) {
    // Escape counts as Cancel (or closes an OK-only box); Return presses OK unless Cancel has the focus.
    if (!ui::HandleDialogKey(this, event, ok_))
        QDialog::keyPressEvent(event);
}

void CMssageBoxDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void CMssageBoxDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    for (int y = 0; y < kTitleBand && y < height(); ++y)
        p.fillRect(QRect(0, y, width(), 1), Blend(kTitleTop, kTitleBottom, y, kTitleBand - 1));
    p.setPen(QColor(kFrame));
    p.drawRect(0, 0, width() - 1, height() - 1);
    if (!messageLabel_)
        PaintMessage(p);
}

namespace {

// Splits one message line at spaces (or, for a word longer than the width, between characters)
// into pieces no wider than `width`.
QStringList WrapLine(const QString& line, const QFontMetrics& metrics, int width) {
    QStringList pieces;
    QString current;
    for (const QString& word : line.split(QLatin1Char(' '))) {
        const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (metrics.horizontalAdvance(candidate) <= width) {
            current = candidate;
            continue;
        }
        if (!current.isEmpty())
            pieces << current;
        current = word;
        while (metrics.horizontalAdvance(current) > width && current.size() > 1) {
            int fit = 1;
            while (fit < current.size() && metrics.horizontalAdvance(current.left(fit + 1)) <= width)
                ++fit;
            pieces << current.left(fit);
            current = current.mid(fit);
        }
    }
    pieces << current;
    return pieces;
}

} // namespace

void CMssageBoxDlg::PaintMessage(QPainter& p) const {
    p.setFont(ui::CellHeightFont(QStringLiteral("돋음"), 16, QFont::DemiBold));
    const QFontMetrics metrics = p.fontMetrics();
    const int bandWidth = width() - 20;

    // A line too wide for the box continues in the next band rather than losing its end (a
    // question cut before its verb cannot be answered); pieces of the first line stay dark.
    struct Piece {
        QString text;
        bool first;
    };
    std::vector<Piece> pieces;
    const QStringList lines = message_.split(QStringLiteral("\r\n"));
    for (int j = 0; j < lines.size(); ++j)
        for (const QString& piece : WrapLine(lines[j], metrics, bandWidth))
            pieces.push_back({piece, j == 0});
    const int room = std::max(1, (height() - form_.buttonBottomGap - kTitleBand) / kLineBand);
    if (int(pieces.size()) > room) {
        pieces.resize(room);
        pieces.back().text += QStringLiteral("…");
    }

    const int n = int(pieces.size()) - 1;
    const int firstTop = (height() - n * kLineBand - kLineBand) / 2;
    for (int j = 0; j <= n; ++j) {
        const QRect band(10, firstTop + j * kLineBand, bandWidth, kLineBand);
        p.setPen(QColor(pieces[j].first ? kFirstLine : kOtherLines));
        p.drawText(band, Qt::AlignCenter | Qt::TextSingleLine,
                   metrics.elidedText(pieces[j].text, Qt::ElideRight, band.width()));
    }
}
