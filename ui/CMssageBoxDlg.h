// The programs' own modal notification box: a title band, a message of "\r\n"-separated lines,
// OK alone (kBoxOkOnly) or OK and Cancel. The recorder's and the splitter's boxes are two
// templates of this one class. GUI thread only.
#pragma once

#include "ui/DialogResult.h"
#include "ui/Skin.h"

#include <QDialog>
#include <QString>

class CHoverButton;
class QLabel;
namespace ui {
class TextReadout;
}

// Button layouts: OK alone, or OK and Cancel (any value but kBoxOkOnly shows both).
constexpr int kBoxOkOnly = 1;
constexpr int kBoxOkCancel = 2;
// The size of most boxes; longer messages name their own.
constexpr int kBoxWidth = 300;
constexpr int kBoxHeight = 150;

// What differs between the two programs' boxes.
struct MessageBoxTemplate {
    SkinSet skin;
    int okId, cancelId, titleId;
    int messageId; // 0: the message is painted in centred lines; else a label control
    int okBitmap, cancelBitmap;
    int buttonBottomGap; // button top = height - gap

    static const MessageBoxTemplate& Recorder();
    static const MessageBoxTemplate& Splitter();
};

class CMssageBoxDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMssageBoxDlg(QWidget* parent = nullptr,
                           const MessageBoxTemplate& form = MessageBoxTemplate::Recorder());

    // Replaces the five settings at once; sizes and places the box and its controls.
    void Configure(const QString& message, const QString& title, int buttonLayout, int width, int height);
    // Runs the box modally: ui::IDOK or ui::IDCANCEL.
    int DoModal();

    // Constructs, configures and runs one box.
    static int Show(QWidget* parent, const QString& message, const QString& title, int buttonLayout,
                    int width, int height, const MessageBoxTemplate& form = MessageBoxTemplate::Recorder());

    const QString& Message() const { return message_; }
    const QString& Title() const { return title_; }
    int ButtonLayout() const { return buttonLayout_; }

public slots:
    void reject() override; // any close but the buttons counts as Cancel

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PaintMessage(class QPainter& painter) const;

    const MessageBoxTemplate& form_;
    QString message_;
    QString title_;
    int buttonLayout_ = 0;
    CHoverButton* ok_;
    CHoverButton* cancel_;
    QLabel* titleLabel_;
    QLabel* messageLabel_ = nullptr;
    ui::TextReadout* messageReadout_ = nullptr; // the painted message, for screen readers
};
