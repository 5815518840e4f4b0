// The tag editor dialog over the tag store.
#include "recorder/tags/dialog/CID3TagInfoDlg.h"

#include "recorder/tags/TagStore.h"
#include "ui/CMssageBoxDlg.h"
#include "ui/ControlId.h"
#include "ui/DialogResult.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace CID3TagInfoDlgIds;

namespace {
QLineEdit* AddField(QGridLayout* grid, int row, const QString& label, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    auto* caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QPushButton* AddButton(QHBoxLayout* row, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setMinimumWidth(76);
    row->addWidget(button);
    return button;
}
} // namespace

CID3TagInfoDlg::CID3TagInfoDlg(QWidget* parent, const QString& path) : QDialog(parent), m_Path(path) {
    setWindowTitle(QStringLiteral("ID3 Tag Info"));
    setObjectName(QStringLiteral("IDD_ID3TAGINFO"));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    m_Artist = AddField(grid, 0, QStringLiteral("아티스트"), this);
    m_Album = AddField(grid, 1, QStringLiteral("앨범"), this);
    m_Title = AddField(grid, 2, QStringLiteral("타이틀"), this);
    m_Year = AddField(grid, 3, QStringLiteral("년도"), this);
    m_Comment = AddField(grid, 4, QStringLiteral("코멘트"), this);
    m_Year->setMaximumWidth(70);
    QUOR_SET_ID(m_Artist, IDC_EDIT_ARTIST);
    QUOR_SET_ID(m_Album, IDC_EDIT_ALBUM);
    QUOR_SET_ID(m_Title, IDC_EDIT_TITLE);
    QUOR_SET_ID(m_Year, IDC_EDIT_YEAR);
    QUOR_SET_ID(m_Comment, IDC_EDIT_COMMENT);

    auto* buttons = new QHBoxLayout;
    QPushButton* clear = AddButton(buttons, QStringLiteral("Clear"), this);
    buttons->addStretch();
    QPushButton* save = AddButton(buttons, QStringLiteral("저장"), this);
    QPushButton* cancel = AddButton(buttons, QStringLiteral("취소"), this);
    QUOR_SET_ID(clear, IDC_BTN_CLEAR);
    QUOR_SET_ID(save, IDC_BTN_SAVE);
    QUOR_SET_ID(cancel, IDCANCEL);
    // Return presses the focused button, else saves, as the system's dialogs do; Escape cancels.
    save->setDefault(true);
    connect(clear, &QPushButton::clicked, this, &CID3TagInfoDlg::OnClear);
    connect(save, &QPushButton::clicked, this, &CID3TagInfoDlg::OnSave);
    connect(cancel, &QPushButton::clicked, this, &CID3TagInfoDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(12);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    if (m_Path.isEmpty())
        return;
    const tags::TagTexts texts = tags::ReadTags(m_Path.toStdString());
    m_Artist->setText(QString::fromStdString(texts.artist));
    m_Album->setText(QString::fromStdString(texts.album));
    m_Title->setText(QString::fromStdString(texts.title));
    m_Year->setText(QString::fromStdString(texts.year));
    m_Comment->setText(QString::fromStdString(texts.comment));
    // A full-length title is longer than its box: show its beginning, not its end.
    for (QLineEdit* edit : {m_Artist, m_Album, m_Title, m_Year, m_Comment})
        edit->setCursorPosition(0);
}

int CID3TagInfoDlg::DoModal() {
    if (m_Path.isEmpty()) {
        CMssageBoxDlg::Show(parentWidget(), QStringLiteral("오픈할 파일 없습니다."), QStringLiteral("알림"),
                            kBoxOkOnly, kBoxWidth, kBoxHeight);
        return ui::IDOK;
    }
    return exec();
}

void CID3TagInfoDlg::OnClear() {
    for (QLineEdit* edit : {m_Artist, m_Album, m_Title, m_Year, m_Comment})
        edit->clear();
}

void CID3TagInfoDlg::ReportWriteFailure() {
    CMssageBoxDlg::Show(this, QStringLiteral("태그를 저장하지 못했습니다.\r\n파일을 쓸 수 없습니다."),
                        QStringLiteral("알림"), kBoxOkOnly, kBoxWidth, kBoxHeight);
}

void CID3TagInfoDlg::OnSave() {
    const tags::TagTexts texts{m_Title->text().toStdString(), m_Artist->text().toStdString(),
                               m_Album->text().toStdString(), m_Year->text().toStdString(),
                               m_Comment->text().toStdString()};
    if (!tags::SaveTags(m_Path.toStdString(), texts))
        ReportWriteFailure();
    done(ui::IDOK);
}

void CID3TagInfoDlg::reject() {
    // Only the ID3v1 record is emptied; an ID3v2 tag is neither written nor removed.
    if (!m_Path.isEmpty() && !tags::WriteId3v1(m_Path.toStdString(), tags::TagTexts{}))
        ReportWriteFailure();
    done(ui::IDCANCEL);
}
