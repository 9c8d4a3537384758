// Pictures of a form's Default button, drawn from the skin the window
// carries, under Xvfb (the screen is grabbed, as the X server shows it):
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-asan/tests/skinctrls/default_button_screenshot OUT_DIR
// OUT_DIR/default_edit.png: the edit has the focus, so "OK" (the Default
// button) shows the lit look; OUT_DIR/default_cancel.png: "Cancel" has the
// focus, so it is lit and "OK" is not.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QScreen>
#include <QTest>

#include <cstdio>

using namespace rasp;

namespace {

bool Save(const QWidget& form, const QString& file)
{
    const QRect r = form.frameGeometry();
    return QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).save(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: default_button_screenshot OUT_DIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    TbsSkinData skin;
    skin.LoadStoredSkin(stored);

    QWidget form;
    form.setGeometry(40, 40, 360, 110);
    auto* client = new TbsSkinPanel(&form);
    client->SetBorderStyle(bvNone);
    client->setGeometry(0, 0, 360, 110);
    client->SetSkinData(&skin);
    auto* label = new TbsSkinStdLabel(client, QStringLiteral("Keyword phrase:"));
    label->SetSkinData(&skin);
    label->move(15, 20);
    auto* edit = new TbsSkinEdit(client);
    edit->SetSkinData(&skin);
    edit->setGeometry(120, 17, 220, 21);
    edit->setText(QStringLiteral("duplicate content"));
    TbsSkinButton* buttons[3] = {};
    const char* captions[3] = {"OK", "Cancel", "Help"};
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new TbsSkinButton(client, QString::fromLatin1(captions[i]));
        buttons[i]->SetSkinData(&skin);
        buttons[i]->setGeometry(45 + i * 95, 70, 80, 21);
    }
    buttons[0]->SetDefault(true);
    buttons[1]->SetCancel(true);

    QCursor::setPos(1200, 1000);  // away from the buttons
    form.show();
    form.activateWindow();  // no window manager does it under Xvfb
    QTest::qWait(300);
    edit->setFocus();
    QTest::qWait(400);  // the morph to the lit look runs out
    int failures = 0;
    std::printf("edit focused: OK hot %d, default-active %d\n", buttons[0]->Hot(), buttons[0]->DefaultActive());
    failures += !buttons[0]->Hot() + !Save(form, out.filePath(QStringLiteral("default_edit.png")));
    buttons[1]->setFocus();
    QTest::qWait(400);
    std::printf("Cancel focused: OK hot %d, Cancel default-active %d\n", buttons[0]->Hot(),
                buttons[1]->DefaultActive());
    failures += buttons[0]->Hot() + !Save(form, out.filePath(QStringLiteral("default_cancel.png")));
    return failures == 0 ? 0 : 1;
}
