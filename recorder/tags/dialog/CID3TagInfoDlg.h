// The ID3 tag editor that opens after an MP3 recording: five fields read from the file's ID3v2
// tag or its last 128 bytes, Clear, save ("저장", into both tags) and cancel ("취소", which leaves
// an empty ID3v1 record and writes no ID3v2 tag).
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace CID3TagInfoDlgIds {
constexpr int IDD_ID3TAGINFO = 164;
constexpr int IDC_EDIT_ARTIST = 1026;
constexpr int IDC_EDIT_ALBUM = 1027;
constexpr int IDC_EDIT_TITLE = 1028;
constexpr int IDC_EDIT_YEAR = 1030;
constexpr int IDC_EDIT_COMMENT = 1031;
constexpr int IDC_BTN_CLEAR = 1033;
constexpr int IDC_BTN_SAVE = 1034;
constexpr int IDCANCEL = 2;
} // namespace CID3TagInfoDlgIds

class CID3TagInfoDlg : public QDialog {
    Q_OBJECT
public:
    CID3TagInfoDlg(QWidget* parent, const QString& path);

    // Shows the empty-path notice instead of the editor when there is no file.
    int DoModal();

public slots:
    void reject() override; // the window's close and Escape act as "취소"

private:
    void OnClear();
    void OnSave();
    void ReportWriteFailure();

    QString m_Path;
    QLineEdit* m_Artist;
    QLineEdit* m_Album;
    QLineEdit* m_Title;
    QLineEdit* m_Year;
    QLineEdit* m_Comment;
};
