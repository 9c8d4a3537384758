// Pictures of the skinned menus of the controls, in the real window under
// Xvfb (the whole screen is grabbed, so the menu windows are in it):
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-asan/tests/app/menu_screenshot OUT_DIR
// OUT_DIR/edit_menu.png: the keyword box's context menu;
// OUT_DIR/view_menu.png: the open dialog with its view menu open.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsOpenDlgForm.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinMenuSpeedButton.h"
#include "skinctrls/bsEditMenu.h"

#include <QDir>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

bool Save(const QRect& area, const QString& file)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    return shot.save(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: menu_screenshot OUT_DIR\n");
        return 2;
    }
    rasp::TRaspApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    rasp::TMainWindowOptions options;
    options.CheckUpdates = false;
    rasp::TfrmMain window(options);
    window.setGeometry(20, 20, 900, 640);
    window.show();
    window.activateWindow();  // no window manager does it under Xvfb
    QTest::qWait(300);
    window.edtKw1->setText("duplicate content");
    window.edtKw1->setSelection(0, 9);
    QTest::qWait(100);

    int failures = 0;
    std::printf("before the edit menu: the window is %s\n",
                QApplication::activeWindow() == &window ? "active" : "not active");
    const QPoint at = window.edtKw1->mapTo(&window, QPoint(20, 8));
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, at);
    QTest::qWait(300);
    std::printf("with the edit menu open: the window is %s\n",
                QApplication::activeWindow() == &window ? "active" : "not active");
    TbsSkinPopupMenu* menu = rasp::bsEditMenuOf(*window.edtKw1);
    TbsSkinMenu* driver = menu ? menu->ShowingDriver() : nullptr;
    if (!driver || !driver->TopWindow()) {
        std::fprintf(stderr, "the edit's menu did not open\n");
        ++failures;
    } else {
        const QRect menuRect = driver->TopWindow()->geometry();
        const QRect area = QRect(window.edtKw1->mapToGlobal(QPoint(-60, -40)), QSize(10, 10)).united(menuRect).adjusted(0, 0, 40, 30);
        if (!Save(area, out.filePath("edit_menu.png")))
            ++failures;
        driver->CloseAll();
    }
    QTest::qWait(100);
    std::printf("after the edit menu: the window is %s\n",
                QApplication::activeWindow() == &window ? "active" : "not active");

    // The open dialog from the Import button; its view menu opened by a press.
    QTimer::singleShot(300, [&] {
        auto* dialog = qobject_cast<rasp::TbsOpenDlgForm*>(QApplication::activeModalWidget());
        if (!dialog) {
            std::fprintf(stderr, "no open dialog\n");
            ++failures;
            return;
        }
        dialog->OpenFolder(QDir::currentPath());
        QTest::qWait(200);
        auto* button = dialog->findChild<rasp::TbsSkinMenuSpeedButton*>("btnViewMenu");
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
        QTest::qWait(300);
        TbsSkinMenu* viewDriver = button->SkinPopupMenu()->ShowingDriver();
        if (!viewDriver || !viewDriver->TopWindow()) {
            std::fprintf(stderr, "the view menu did not open\n");
            ++failures;
        } else if (!Save(dialog->frameGeometry().united(viewDriver->TopWindow()->geometry()).adjusted(-10, -10, 10, 10),
                         out.filePath("view_menu.png"))) {
            ++failures;
        }
        if (viewDriver)
            viewDriver->CloseAll();
        QTest::qWait(50);
        dialog->done(2);
    });
    window.btnImport1->click();
    QTest::qWait(100);
    return failures == 0 ? 0 : 1;
}
