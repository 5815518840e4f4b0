// The panel shown over the range box while a cut runs: how much of the range the converter has
// written, as a bar and as times, and a cancel button (Escape does the same). Window thread only.
#pragma once

#include <QWidget>

#include <chrono>

class CHoverButton;

class CutProgressPanel : public QWidget {
    Q_OBJECT
public:
    // Placed over the window's range box; hidden until Start.
    explicit CutProgressPanel(QWidget* window);

    void Start(long rangeSec);
    void SetWritten(std::chrono::milliseconds written);
    long WrittenSec() const { return m_WrittenSec; }
    // Whole percent of the range written.
    int Percent() const;
    CHoverButton* CancelButton() const { return m_Cancel; }

signals:
    void CancelClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CHoverButton* m_Cancel = nullptr;
    long m_RangeSec = 0;
    long m_WrittenSec = 0;
    std::chrono::milliseconds m_Written{0};
};
