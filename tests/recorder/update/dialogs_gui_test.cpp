// The About box and the information popup, driven by their control ids: geometry and colours,
// the help page address, the page shown from the local server, and the "CkInfoOpen" writes.
#include "recorder/settings/SettingsValues.h"
#include "recorder/update/CHelpDlg.h"
#include "recorder/update/CInfoPopupDlg.h"
#include "recorder/update/UpdateEndpoints.h"
#include "tests/support/Eventually.h"
#include "tests/support/HiveEnv.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/net/LocalHttpServer.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

using namespace quortest::gui;
using quortest::Eventually;
using quortest::LocalHttpServer;

namespace {

// Receives what QDesktopServices::openUrl would hand to the desktop's browser.
class BrowserCatcher : public QObject {
    Q_OBJECT
public:
    BrowserCatcher() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
    }
    ~BrowserCatcher() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

class DialogTest : public testing::Test {
protected:
    quortest::HiveEnv hive_;
    LocalHttpServer server_;
    quortest::ScopedEnv webHost_{"QUOR_WEB_BASE_URL", server_.BaseUrl().toStdString()};
};

const QString kInfoPage = QLatin1String(UpdateEndpoints::kInfoPage);

} // namespace

TEST_F(DialogTest, AboutBoxLayoutAndBackground) {
    CHelpDlg about;
    about.show();
    ASSERT_TRUE(WaitExposed(&about));
    EXPECT_EQ(about.size(), QSize(356, 226));
    EXPECT_TRUE(about.windowFlags().testFlag(Qt::FramelessWindowHint));
    ExpectControlsInsideWithoutOverlap(&about);
    const QRect close = FindControl(&about, "IDC_BTN_CLOSE")->geometry();
    EXPECT_LE(about.width() - close.right(), 40) << "the close button sits in the top-right corner";
    EXPECT_LE(close.top(), 10);
    EXPECT_EQ(FindControl(&about, "IDC_BTN_HOMEPAGE")->size(), QSize(90, 26));
    auto* description = FindControlAs<QLabel>(&about, "IDC_STATIC_DESCRIPTION");
    ASSERT_TRUE(description);
    EXPECT_EQ(description->text(),
              QStringLiteral("쿠오르녹음기는 컴퓨터에서 나는\n모든 소리를 MP3,WAV파일로\n"
                             "녹음하여 주는 프로그램 입니다."));
    EXPECT_TRUE(FindControlAs<QLabel>(&about, "IDC_STATIC_RIGHTS")->text().contains("Quortools"));

    const QImage picture = Grab(&about);
    EXPECT_EQ(Rgb(picture, 10, 170), 0xECECECu) << "face";
    EXPECT_EQ(Rgb(picture, 0, 120), 0xB5B5B5u) << "left frame";
    EXPECT_EQ(Rgb(picture, 355, 120), 0xB5B5B5u) << "right frame";
    EXPECT_EQ(Rgb(picture, 200, 225), 0xB5B5B5u) << "bottom frame";
    EXPECT_NE(Rgb(picture, 75, 105), 0xECECECu) << "the picture at (25, 60)";
    EXPECT_NE(Rgb(picture, 100, 16), 0xECECECu) << "the title band";
}

TEST_F(DialogTest, AboutBoxCloseEscapeAndReturnEndTheModalRun) {
    const std::function<void(CHelpDlg&)> closings[] = {
        [](CHelpDlg& about) { Click(&about, "IDC_BTN_CLOSE"); },
        [](CHelpDlg& about) { PressKey(&about, Qt::Key_Escape); },
        [](CHelpDlg& about) { PressKey(&about, Qt::Key_Return); }};
    for (const auto& close : closings) {
        CHelpDlg about;
        QTimer::singleShot(0, &about, [&] {
            close(about);
            if (about.isVisible()) {
                ADD_FAILURE() << "still open";
                about.done(QDialog::Accepted);
            }
        });
        EXPECT_EQ(about.exec(), QDialog::Rejected);
        EXPECT_FALSE(about.isVisible());
    }
}

TEST_F(DialogTest, HomepageButtonOpensTheHelpPageInTheBrowser) {
    BrowserCatcher browser;
    CHelpDlg about;
    about.show();
    ASSERT_TRUE(WaitExposed(&about));
    ASSERT_TRUE(Click(&about, "IDC_BTN_HOMEPAGE"));
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened[0], QUrl(server_.Url("/home/help_03.html")));
    EXPECT_TRUE(about.isVisible()) << "the box stays open";
}

TEST_F(DialogTest, PopupPlacementAndControls) {
    EXPECT_EQ(CInfoPopupDlg::PositionOnScreen(QRect(0, 0, 1920, 1080)), QPoint(1135, 320));
    EXPECT_EQ(CInfoPopupDlg::PositionOnScreen(QRect(1920, 0, 1280, 800)), QPoint(1920 + 815, 180));

    server_.Stall(kInfoPage);
    QWidget mainWindow;
    CInfoPopupDlg popup(&mainWindow);
    popup.show();
    ASSERT_TRUE(WaitExposed(&popup));
    EXPECT_EQ(popup.size(), QSize(330, 440));
    EXPECT_EQ(popup.pos(), CInfoPopupDlg::PositionOnScreen(QGuiApplication::primaryScreen()->geometry()));
    EXPECT_FALSE(popup.isModal());
    ExpectControlsInsideWithoutOverlap(&popup);
    const QRect close = FindControl(&popup, "IDC_BTN_CLOSE")->geometry();
    EXPECT_LE(popup.width() - close.right(), 40) << "the close button sits in the top-right corner";
    EXPECT_LE(close.top(), 10);
    const QRect view = FindControl(&popup, "IDC_INFO_VIEW")->geometry();
    const QRect box = FindControl(&popup, "IDC_CHK_DONT_OPEN")->geometry();
    auto* label = FindControlAs<QLabel>(&popup, "IDC_STATIC_DONT_OPEN");
    ASSERT_TRUE(label);
    EXPECT_GT(box.top(), view.bottom()) << "the check box row lies below the page";
    EXPECT_GT(label->x(), box.right()) << "its label follows the box";
    EXPECT_TRUE(label->geometry().top() <= box.bottom() && box.top() <= label->geometry().bottom())
        << "on the same row";
    EXPECT_GE(view.width(), popup.width() - 4) << "the page spans the popup";
    EXPECT_EQ(label->text(), QStringLiteral("다시 이 창을 열지않음"));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(120, 120, 120));
    EXPECT_FALSE(FindControlAs<QCheckBox>(&popup, "IDC_CHK_DONT_OPEN")->isChecked());

    const QImage picture = Grab(&popup);
    EXPECT_EQ(Rgb(picture, 0, 200), 0x1C1C1Cu);
    EXPECT_EQ(Rgb(picture, 329, 200), 0x1C1C1Cu);
    EXPECT_EQ(Rgb(picture, 200, 439), 0x1C1C1Cu);
    EXPECT_EQ(Rgb(picture, 165, 0), 0x1C1C1Cu);
}

TEST_F(DialogTest, PopupShowsAPlaceholderAtOnceAndThePageWhenItArrives) {
    server_.Serve(kInfoPage, "<html><head><meta charset=\"utf-8\"></head>"
                             "<body><h3>쿠오르녹음기 새 소식</h3><p>버전 1.0.2</p></body></html>");
    QWidget mainWindow;
    CInfoPopupDlg popup(&mainWindow);
    auto* view = FindControlAs<QTextBrowser>(&popup, "IDC_INFO_VIEW");
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->toPlainText().contains(CInfoPopupDlg::LoadingText())) << "construction must not wait";
    popup.show();
    EXPECT_TRUE(Eventually([&] { return view->toPlainText().contains(QStringLiteral("새 소식")); }))
        << view->toPlainText().toStdString();
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("버전 1.0.2")));
    EXPECT_EQ(server_.TimesRequested(kInfoPage), 1);
}

TEST_F(DialogTest, PopupWithoutTheSiteSaysSo) {
    quortest::ScopedEnv closed(
        "QUOR_WEB_BASE_URL",
        QStringLiteral("http://127.0.0.1:%1").arg(LocalHttpServer::ClosedPort()).toStdString());
    QWidget mainWindow;
    CInfoPopupDlg popup(&mainWindow);
    auto* view = FindControlAs<QTextBrowser>(&popup, "IDC_INFO_VIEW");
    EXPECT_TRUE(Eventually([&] { return view->toPlainText().contains(CInfoPopupDlg::UnavailableText()); }));
}

TEST_F(DialogTest, PopupLinksOpenInTheBrowser) {
    server_.Serve(kInfoPage, "<html><body><a href=\"/news/1.html\">자세히</a></body></html>");
    BrowserCatcher browser;
    QWidget mainWindow;
    CInfoPopupDlg popup(&mainWindow);
    auto* view = FindControlAs<QTextBrowser>(&popup, "IDC_INFO_VIEW");
    ASSERT_TRUE(Eventually([&] { return view->toPlainText().contains(QStringLiteral("자세히")); }));
    emit view->anchorClicked(QUrl("/news/1.html"));
    emit view->anchorClicked(QUrl("javascript:alert(1)"));
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened[0], QUrl(server_.Url("/news/1.html")));
}

TEST_F(DialogTest, CloseButtonStoresTheCheckBox) {
    for (const bool checked : {true, false}) {
        server_.Stall(kInfoPage);
        QWidget mainWindow;
        CInfoPopupDlg popup(&mainWindow);
        popup.show();
        ASSERT_TRUE(WaitExposed(&popup));
        if (checked) {
            ASSERT_TRUE(Click(&popup, "IDC_CHK_DONT_OPEN"));
        }
        EXPECT_EQ(FindControlAs<QCheckBox>(&popup, "IDC_CHK_DONT_OPEN")->isChecked(), checked);
        ASSERT_TRUE(Click(&popup, "IDC_BTN_CLOSE"));
        EXPECT_FALSE(popup.isVisible());
        EXPECT_EQ(ReadCkInfoOpen(-1), checked ? 1 : 0);
    }
}

TEST_F(DialogTest, ClosingAnyOtherWayWritesNothing) {
    server_.Stall(kInfoPage);
    QWidget mainWindow;
    {
        CInfoPopupDlg popup(&mainWindow);
        popup.show();
        ASSERT_TRUE(WaitExposed(&popup));
        Click(&popup, "IDC_CHK_DONT_OPEN");
        PressKey(&popup, Qt::Key_Escape);
        EXPECT_FALSE(popup.isVisible());
    }
    {
        CInfoPopupDlg popup(&mainWindow);
        popup.show();
        ASSERT_TRUE(WaitExposed(&popup));
        popup.close();
    }
    {
        auto ending = std::make_unique<QWidget>();
        auto* popup = new CInfoPopupDlg(ending.get()); // ends with its main window
        popup->show();
        ASSERT_TRUE(WaitExposed(popup));
        Click(popup, "IDC_CHK_DONT_OPEN");
    }
    EXPECT_EQ(ReadCkInfoOpen(-1), -1);
}

#include "dialogs_gui_test.moc"
