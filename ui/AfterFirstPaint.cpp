#include "ui/AfterFirstPaint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ui {
namespace {

constexpr int kFallbackMs = 1000;

// Child of the window: goes with it, so no work runs on a window that is gone.
class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(QWidget* window, std::function<void()> work)
        : QObject(window), m_Work(std::move(work)) {
        window->installEventFilter(this);
        if (window->isVisible())
            ArmFallback();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ArmFallback();
        else if (event->type() == QEvent::Paint)
            // Queued: the paint and the flush to the screen finish before the work starts.
            QTimer::singleShot(0, this, [this] { Run(); });
        return false;
    }

private:
    void ArmFallback() {
        if (!m_FallbackArmed) {
            m_FallbackArmed = true;
            QTimer::singleShot(kFallbackMs, this, [this] { Run(); });
        }
    }

    void Run() {
        if (!m_Work)
            return;
        parent()->removeEventFilter(this);
        std::function<void()> work = std::move(m_Work);
        m_Work = nullptr;
        deleteLater();
        work();
    }

    std::function<void()> m_Work;
    bool m_FallbackArmed = false;
};

} // namespace

void AfterFirstPaint(QWidget* window, std::function<void()> work) {
    new FirstPaintWatcher(window, std::move(work));
}

} // namespace ui
