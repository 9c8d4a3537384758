// The titles the window system receives, read back with xprop from the real
// X11 windows (run under Xvfb): a branded copy's window, the open dialog and
// a message box carry exactly their own captions, nothing appended.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"
#include "skinctrls/TbsSkinOpenDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace rasp {
namespace {

// The value of one text property of an X11 window, as xprop prints it.
std::string XProperty(WId window, const char* property)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), QString::fromLatin1(property)});
    if (!xprop.waitForFinished(10000))
        return "<xprop did not finish>";
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    // NAME(TYPE) = "value"
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^[^=]*= \"(.*)\"$")).match(out);
    return (m.hasMatch() ? m.captured(1) : QStringLiteral("<%1>").arg(out)).toStdString();
}

class X11Titles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "no X server (Xvfb is not installed): the titles are not checked";
        if (QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
            GTEST_SKIP() << "xprop (x11-utils) is not installed: the titles are not checked";
        ASSERT_TRUE(dir.isValid());
    }

    void Open(const QByteArray& config)
    {
        if (!config.isEmpty()) {
            QFile file(dir.filePath(QStringLiteral("dbconfig.dat")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(config);
        }
        TMainWindowOptions options;
        options.ProgramDir = dir.path();
        options.CheckUpdates = false;
        window = std::make_unique<TfrmMain>(options);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Runs `inspect` on the modal dialog of type D once the window system
    // shows it, then closes it.
    template <class D>
    void WhenShown(std::function<void(D*)> inspect)
    {
        auto* timer = new QTimer(window.get());
        QObject::connect(timer, &QTimer::timeout, timer, [timer, inspect] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->windowHandle() || !dialog->windowHandle()->isExposed())
                return;
            timer->stop();
            timer->deleteLater();
            inspect(dialog);
            dialog->reject();
        });
        timer->start(20);
    }

    QTemporaryDir dir;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(X11Titles, ABrandedCopyShowsExactlyItsNameAndVersion)
{
    Open("[Settings]\r\nAppName=Checker\r\n");
    EXPECT_EQ(window->windowTitle().toStdString(), "Checker v1.01");
    EXPECT_EQ(XProperty(window->winId(), "_NET_WM_NAME"), "Checker v1.01");
    EXPECT_EQ(XProperty(window->winId(), "WM_NAME"), "Checker v1.01");
}

TEST_F(X11Titles, WithoutSettingsTheDesignTitle)
{
    Open({});
    EXPECT_EQ(XProperty(window->winId(), "_NET_WM_NAME"), "Tellivo Rasp");
}

TEST_F(X11Titles, DialogsCarryTheirOwnCaptions)
{
    Open("[Settings]\r\nAppName=Checker\r\n");
    std::string openTitle, boxTitle;
    WhenShown<QDialog>([&](QDialog* d) { openTitle = XProperty(d->winId(), "_NET_WM_NAME"); });
    window->btnImport1->click();
    EXPECT_EQ(openTitle, "Open file");

    WhenShown<QDialog>([&](QDialog* b) { boxTitle = XProperty(b->winId(), "_NET_WM_NAME"); });
    window->msgMain->MessageDlg(QStringLiteral("Something went wrong."), mtError, {mbOK}, 0);
    EXPECT_EQ(boxTitle, "Error");
}

} // namespace
} // namespace rasp

int main(int argc, char** argv)
{
    // Xvfb when the test runs under xvfb-run; otherwise nothing to show on.
    if (!std::getenv("DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    rasp::TRaspApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
