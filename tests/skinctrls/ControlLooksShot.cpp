// The edit with a button, the stretched spin edit and the combo box with
// item pictures, on an X server, once with the built-in and once with the
// dark sample skin. The screen's pixels of each button state are compared
// with the skin's picture; with an OUT_DIR argument the two screen pictures
// are kept there (control_looks_light.png, control_looks_dark.png):
//   xvfb-run -a -s "-screen 0 1024x768x24" build-asan/tests/skinctrls/control_looks_shot [OUT_DIR]

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinControls.h"
#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinComboBox.h"
#include "skinctrls/TbsSkinCustomControl.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinSpinEdit.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <cstdio>

using namespace rasp;

namespace {

void Move(QWidget* w, QPoint at)
{
    QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Press(QWidget* w, QPoint at)
{
    QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QImage Badge(const QColor& c)
{
    QImage img(12, 12, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(c);
    p.setPen(c.darker(140));
    p.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    return img;
}

const TbsDataSkinEditControl* ButtonEditEntry(const TbsSkinData& skin)
{
    const int i = skin.IndexOfControl("buttonedit");
    return i < 0 ? nullptr : dynamic_cast<const TbsDataSkinEditControl*>(skin.SkinControls[std::size_t(i)].get());
}

// Differences between the screen under the button and the picture's rectangle.
int Mismatches(const QImage& screen, const TbsSkinEdit& edit, const QImage& picture, const TbsRect& src)
{
    const QRect b = edit.ButtonRect();
    const QPoint at = edit.mapToGlobal(b.topLeft());
    int wrong = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            wrong += (screen.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) !=
                     (picture.pixel(src.Left + x, src.Top + y) & 0xFFFFFF);
    return wrong;
}

int Shoot(TbsSkinData& skin, const QString& name, const QString& outDir, const QColor& background)
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(20, 20, 520, 210);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, background);
    window.setPalette(pal);
    window.setAutoFillBackground(true);

    std::vector<TbsSkinEdit*> edits;
    const char* texts[] = {"article1.txt", "hover on the button", "button pressed", "disabled"};
    for (int i = 0; i < 4; ++i) {
        auto* edit = new TbsSkinEdit(&window);
        edit->SetButtonMode(true);
        edit->setGeometry(10 + (i % 2) * 255, 10 + (i / 2) * 30, 240, 18);
        edit->setText(QString::fromLatin1(texts[i]));
        edit->SetSkinData(&skin);
        edits.push_back(edit);
    }
    edits[3]->setEnabled(false);
    auto* right = new TbsSkinEdit(&window);
    right->setGeometry(10, 70, 240, 18);
    right->SetAlignment(TbsAlignment::taRightJustify);
    right->setText("right-justified");
    right->SetSkinData(&skin);

    auto* spin = new TbsSkinSpinEdit(&window);
    spin->SetUseSkinSize(false);
    spin->setGeometry(265, 70, 110, 34);
    spin->SetSkinData(&skin);
    spin->SetValue(3);
    auto* spinDown = new TbsSkinSpinEdit(&window);
    spinDown->SetUseSkinSize(false);
    spinDown->setGeometry(390, 70, 110, 34);
    spinDown->SetSkinData(&skin);
    spinDown->SetValue(12);

    auto* combo = new TbsSkinComboBox(&window);
    combo->setGeometry(10, 110, 240, 20);
    combo->SetSorted(true);
    combo->addItems({"Words", "Paragraphs", "Sentences"});
    combo->SetImages({Badge(QColor("#2f6fdb")), Badge(QColor("#e5484d")), Badge(QColor("#3fb950"))});
    combo->SetItemIndex(2);
    combo->SetSkinData(&skin);
    combo->ApplySkin();

    window.show();
    QTest::qWait(200);
    Move(edits[1], edits[1]->ButtonRect().center());
    Move(edits[2], edits[2]->ButtonRect().center());
    Press(edits[2], edits[2]->ButtonRect().center());
    Move(spin, spin->UpButtonRect().center());
    Move(spinDown, spinDown->DownButtonRect().center());
    Press(spinDown, spinDown->DownButtonRect().center());
    combo->DropDown();
    QTest::qWait(400);

    QScreen* screen = window.screen();
    const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area = QRect(window.pos(), window.size());
    if (!outDir.isEmpty())
        shot.copy(area).save(QDir(outDir).filePath(name));

    int failures = 0;
    const TbsDataSkinEditControl* e = ButtonEditEntry(skin);
    const QImage* picture = e ? skin.ActivePicture(e->pictureindex) : nullptr;
    if (!e || !picture || !edits[0]->IsSkinned() || edits[0]->ButtonRect().width() < 8) {
        std::fprintf(stderr, "%s: no usable buttonedit entry\n", qPrintable(name));
        return 1;
    }
    const QImage pic = picture->convertToFormat(QImage::Format_RGB32);
    // Normal: the frame's own picture under the button, of the frame's present look.
    const TbsRect frame = edits[0]->Hot() ? e->activeskinrect : e->skinrect;
    const TbsRect normal{frame.Left + e->buttonrect.Left, frame.Top + e->buttonrect.Top,
                         frame.Left + e->buttonrect.Right, frame.Top + e->buttonrect.Bottom};
    const std::pair<TbsSkinEdit*, TbsRect> states[] = {
        {edits[0], normal}, {edits[1], e->activebuttonrect}, {edits[2], e->downbuttonrect},
        {edits[3], e->unenabledbuttonrect}};
    for (const auto& [edit, src] : states) {
        const int wrong = Mismatches(shot, *edit, pic, src);
        if (wrong) {
            std::fprintf(stderr, "%s: %d pixels of \"%s\" differ from the skin\n", qPrintable(name), wrong,
                         qPrintable(edit->text()));
            ++failures;
        }
    }
    combo->CloseUp(false);
    return failures;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    int failures = 0;
    {
        TbsSkinData light;
        TbsCompressedStoredSkin stored;
        bsAssignBuiltinSkin(stored);
        light.LoadStoredSkin(stored);
        failures += Shoot(light, "control_looks_light.png", outDir, QColor("#f5f7fa"));
    }
    {
        TbsSkinData dark;
        const QString file = QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/samples/skins/dbskin.dat";
        if (!dark.LoadCompressedSkinFile(file)) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(file));
            return 1;
        }
        failures += Shoot(dark, "control_looks_dark.png", outDir, QColor("#1f2329"));
    }
    std::printf("%s\n", failures ? "FAILED" : "ok");
    return failures ? 1 : 0;
}
