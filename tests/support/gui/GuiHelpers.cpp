// Control lookup, clicks, modal answers and pixels for window tests.
#include "tests/support/gui/GuiHelpers.h"

#include "tests/support/Eventually.h"

#include "ui/CMssageBoxDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

#include <utility>

#include <gtest/gtest.h>

namespace quortest::gui {

QWidget* FindControl(QWidget* root, const QString& idName) {
    if (!root) {
        ADD_FAILURE() << "no window to look for " << idName.toStdString() << " in";
        return nullptr;
    }
    auto* found = root->objectName() == idName ? root : root->findChild<QWidget*>(idName);
    if (!found)
        ADD_FAILURE() << "no control named " << idName.toStdString() << " in "
                      << root->metaObject()->className();
    return found;
}

void ExpectControlsInsideWithoutOverlap(QWidget* window) {
    std::vector<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(window) && child->objectName().startsWith(QStringLiteral("IDC_")))
            controls.push_back(child);
    EXPECT_FALSE(controls.empty()) << "no controls in " << window->metaObject()->className();
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(window->rect().contains(controls[i]->geometry()))
            << controls[i]->objectName().toStdString() << " leaves the window";
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " overlaps "
                << controls[j]->objectName().toStdString();
    }
}

bool Click(QWidget* root, const QString& idName) {
    QWidget* control = FindControl(root, idName);
    if (!control)
        return false;
    if (!control->isVisible() || !control->isEnabled()) {
        ADD_FAILURE() << idName.toStdString() << " is " << (control->isVisible() ? "disabled" : "hidden");
        return false;
    }
    ClickAt(control, control->rect().center());
    return true;
}

void ClickAt(QWidget* widget, const QPoint& pos) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
}

void Hover(QWidget* widget, const QPoint& pos) {
    QEnterEvent enter(pos, widget->mapTo(widget->window(), pos), widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &enter);
}

void Unhover(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

void PressKey(QWidget* widget, Qt::Key key) {
    QTest::keyClick(widget, key);
}

ModalAnswerer::ModalAnswerer(Answer answer, std::function<void(QWidget*)> otherwise)
    : answer_(answer), otherwise_(std::move(otherwise)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(10);
}

ModalAnswerer::~ModalAnswerer() {
    timer_.stop();
}

void ModalAnswerer::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal->property("quorAnswered").toBool())
        return;
    modal->setProperty("quorAnswered", true);
    SeenBox seen{
        QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle(), {}, 0, modal->size()};
    const bool ok = answer_ == Answer::Ok;
    if (auto* box = qobject_cast<CMssageBoxDlg*>(modal)) {
        seen.title = box->Title();
        seen.message = box->Message();
        seen.buttonLayout = box->ButtonLayout();
        seen_.push_back(seen);
        const bool cancelShown = box->findChild<QWidget*>(QStringLiteral("IDC_BTN_CANCEL"))->isVisible();
        Click(box, ok || !cancelShown ? QStringLiteral("IDC_BTN_OK") : QStringLiteral("IDC_BTN_CANCEL"));
    } else if (auto* plain = qobject_cast<QMessageBox*>(modal)) {
        seen.message = plain->text();
        seen_.push_back(seen);
        QAbstractButton* button = plain->button(ok ? QMessageBox::Ok : QMessageBox::Cancel);
        if (!button)
            button = plain->button(QMessageBox::Ok);
        if (button)
            button->click();
        else
            plain->reject();
    } else if (otherwise_) {
        seen_.push_back(seen);
        otherwise_(modal);
    }
}

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb PixelAt(QWidget* widget, int x, int y) {
    return Rgb(Grab(widget), x, y);
}

bool TypeIntoFileDialog(QFileDialog* dialog, const QString& path) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    EXPECT_NE(name, nullptr) << "a file dialog without its name field";
    if (!name)
        return false;
    const bool taken = Eventually([&] {
        if (name->text() != path)
            name->setText(path);
        return dialog->selectedFiles() == QStringList{path};
    });
    EXPECT_TRUE(taken) << "the dialog never took " << path.toStdString() << ", it holds "
                       << dialog->selectedFiles().join(", ").toStdString();
    return taken;
}

bool WaitExposed(QWidget* widget) {
    return Eventually([widget] { return widget->windowHandle() && widget->windowHandle()->isExposed(); });
}

void Settle(int ms) {
    QTest::qWait(ms); // the pause is the point: callers check that nothing happened meanwhile
}

} // namespace quortest::gui

namespace quortest::gui {

void OnFirstPaint(QWidget* widget, std::function<void()> probe) {
    struct Watcher : QObject {
        std::function<void()> probe;
        Watcher(QWidget* w, std::function<void()> p) : QObject(w), probe(std::move(p)) {
            w->installEventFilter(this);
        }
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint && probe) {
                watched->removeEventFilter(this);
                std::exchange(probe, nullptr)();
            }
            return false;
        }
    };
    new Watcher(widget, std::move(probe));
}

} // namespace quortest::gui
