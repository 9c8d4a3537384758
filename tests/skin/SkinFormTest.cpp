// The skinned frame on real offscreen windows: client margins and size
// limits, the system menu of every state, caption double and right clicks,
// moving and sizing by the mouse, a close button released elsewhere, a skin
// change at run time, the fallback for unusable skins and the plain frame.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinMessages.h"
#include "tests/skin/SkinTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A widget that writes down the skin messages it is given.
class TListener : public QWidget {
public:
  explicit TListener(QWidget* parent) : QWidget(parent) { setProperty(kSkinMessagesProperty, true); }
  std::vector<int> Seen;

protected:
  bool event(QEvent* e) override {
    const int t = int(e->type());
    if (t == SKN_BEFORECHANGE || t == SKN_CHANGE || t == SKN_AFTERCHANGE) Seen.push_back(t);
    return QWidget::event(e);
  }
};

class SkinForm : public ::testing::Test {
protected:
  void SetUp() override {
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    Skin = std::make_unique<TbsSkinData>();
    Skin->LoadStoredSkin(stored);
    Form = std::make_unique<QWidget>();
    Form->setWindowTitle(QStringLiteral("Tellivo Rasp"));
    TbsFormList::Register(Form.get());  // forms hear the skin messages
    auto* layout = new QVBoxLayout(Form.get());
    layout->setContentsMargins(0, 0, 0, 0);
    Client = new QLabel(QStringLiteral("client"), Form.get());
    layout->addWidget(Client);
    Listener = new TListener(Client);
    Form->resize(500, 300);
    Form->move(100, 80);
    Frame = new TbsSkinForm(Form.get());
    Frame->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    Frame->SetSkinData(Skin.get());
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    QApplication::processEvents();
  }
  void TearDown() override {
    if (Frame && Frame->SkinMenuDriver()) Frame->SkinMenuDriver()->CloseAll();
    Form.reset();
  }

  QStringList MenuNames() {
    QStringList names;
    for (QAction* a : Frame->BuiltinSystemMenu().actions())
      names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
  }
  QStringList MenuFor() {
    Frame->ShowSystemMenu(QRect(Form->mapToGlobal(QPoint(10, 10)), QSize()));
    QStringList names = MenuNames();
    Frame->SkinMenuDriver()->CloseAll();
    return names;
  }
  QRect CloseButton() {
    auto* close = Frame->Objects().FindCommand(TbsCommand::cmClose);
    return close ? close->ObjectRect : QRect();
  }

  std::unique_ptr<TbsSkinData> Skin;
  std::unique_ptr<QWidget> Form;
  QLabel* Client = nullptr;
  TListener* Listener = nullptr;
  TbsSkinForm* Frame = nullptr;
};

}  // namespace

TEST_F(SkinForm, FramelessWithTheClientInsideTheSkinsInsets) {
  EXPECT_TRUE(Form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(Frame->SkinSupport());
  EXPECT_EQ(Client->geometry(), QRect(4, 30, 500 - 8, 300 - 34));
  EXPECT_EQ(bsFindSkinForm(Form.get()), Frame);
  // Narrower than the frame picture (160) or lower than its frame is refused.
  Form->resize(100, 10);
  EXPECT_EQ(Form->size(), QSize(160, 34));
  EXPECT_FALSE(Form->mask().isEmpty()) << "the built-in mask shapes the window";
  EXPECT_FALSE(Form->mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(Form->mask().contains(QPoint(80, 20)));
}

TEST_F(SkinForm, SystemMenuItemsInEveryState) {
  const QStringList normal{"BSF_MINITEM", "BSF_MAXITEM", "-", "BSF_CLOSE"};
  EXPECT_EQ(MenuFor(), normal);
  Frame->Maximize();
  EXPECT_EQ(MenuFor(), (QStringList{"BSF_MINITEM", "BSF_RESTORE", "-", "BSF_CLOSE"}));
  Frame->Restore();
  EXPECT_EQ(MenuFor(), normal) << "rebuilt at each opening";

  Frame->SetBorderIcons(biSystemMenu | biMinimize | biMaximize | biRollUp | biMinimizeToTray);
  EXPECT_EQ(MenuFor(), (QStringList{"BSF_MINITEM", "BSF_MAXITEM", "BSF_ROLLUP", "BSF_MINTOTRAY", "-",
                                    "BSF_CLOSE"}));
  Frame->ToggleRollUp();
  EXPECT_TRUE(Frame->RolledUp());
  EXPECT_EQ(Form->height(), 34);
  EXPECT_EQ(MenuFor(), (QStringList{"BSF_MINITEM", "BSF_MAXITEM", "BSF_RESTORE", "BSF_MINTOTRAY", "-",
                                    "BSF_CLOSE"}));
  Frame->ToggleRollUp();
  EXPECT_EQ(Form->height(), 300);
  Frame->Minimize();  // not the main window: shrinks to the minimum
  EXPECT_TRUE(Frame->Minimized());
  EXPECT_EQ(Form->size(), QSize(160, 34));
  EXPECT_EQ(MenuFor(), (QStringList{"BSF_MAXITEM", "BSF_RESTORE", "BSF_MINTOTRAY", "-", "BSF_CLOSE"}));
  Frame->Restore();
  EXPECT_EQ(Form->geometry(), QRect(100, 80, 500, 300));

  Frame->SetBorderIcons(biSystemMenu);
  EXPECT_EQ(MenuFor(), (QStringList{"BSF_CLOSE"})) << "no separator without items before it";
  Frame->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
  // The items run the window commands.
  Frame->ShowSystemMenu(QRect(Form->mapToGlobal(QPoint(10, 10)), QSize()));
  for (QAction* a : Frame->BuiltinSystemMenu().actions())
    if (a->objectName() == "BSF_MAXITEM") a->trigger();
  EXPECT_TRUE(Frame->Maximized());
}

TEST_F(SkinForm, DoubleClickOnTheCaptionMaximisesAndRestores) {
  const QRect before = Form->geometry();
  QTest::mouseDClick(Form.get(), Qt::LeftButton, {}, QPoint(200, 15));
  ASSERT_TRUE(Frame->Maximized());
  const QScreen* s = Form->screen();
  QRect expected = s->availableGeometry();
  if (expected == s->geometry()) expected.adjust(1, 1, -1, -1);
  EXPECT_EQ(Form->geometry(), expected);
  EXPECT_EQ(Client->geometry(), QRect(4, 30, expected.width() - 8, expected.height() - 34));
  // Maximised, the edges no longer size and the caption no longer moves.
  EXPECT_EQ(Frame->HitTest(QPoint(0, 200)), bsHtFrame);
  QTest::mouseDClick(Form.get(), Qt::LeftButton, {}, QPoint(200, 15));
  EXPECT_FALSE(Frame->Maximized());
  EXPECT_EQ(Form->geometry(), before);
  EXPECT_FALSE(Frame->RolledUp()) << "no roll-up without biRollUp";
}

TEST_F(SkinForm, RightClickOnTheCaptionOpensTheSystemMenuAtTheCursor) {
  const QPoint at(120, 14);
  QTest::mouseClick(Form.get(), Qt::RightButton, {}, at);
  TbsSkinMenu* driver = Frame->SkinMenuDriver();
  ASSERT_TRUE(driver->Visible());
  ASSERT_NE(driver->TopWindow(), nullptr);
  EXPECT_EQ(driver->TopWindow()->geometry().topLeft(), Form->mapToGlobal(at));
  EXPECT_EQ(MenuNames(), (QStringList{"BSF_MINITEM", "BSF_MAXITEM", "-", "BSF_CLOSE"}));
  driver->CloseAll();
}

TEST_F(SkinForm, DraggingTheCaptionMovesAndACornerSizes) {
  const QRect start = Form->geometry();
  QTest::mousePress(Form.get(), Qt::LeftButton, {}, QPoint(200, 15));
  QTest::mouseMove(Form.get(), QPoint(230, 35));
  EXPECT_TRUE(Frame->InSizeMove());
  // The window moved under the mouse: the press point is 30, 20 further on.
  QTest::mouseMove(Form.get(), QPoint(200, 15) + QPoint(30, 20) - QPoint(30, 20));
  QTest::mouseRelease(Form.get(), Qt::LeftButton, {}, QPoint(200, 15));
  EXPECT_FALSE(Frame->InSizeMove());
  EXPECT_EQ(Form->geometry(), start.translated(30, 20));

  const QRect moved = Form->geometry();
  const QPoint corner(moved.width() - 2, moved.height() - 2);
  EXPECT_EQ(Frame->HitTest(corner), bsHtBottomRight);
  QTest::mousePress(Form.get(), Qt::LeftButton, {}, corner);
  QTest::mouseMove(Form.get(), corner + QPoint(40, 25));
  QTest::mouseRelease(Form.get(), Qt::LeftButton, {}, corner + QPoint(40, 25));
  EXPECT_EQ(Form->geometry(), QRect(moved.topLeft(), moved.size() + QSize(40, 25)));
  EXPECT_EQ(Client->size(), moved.size() + QSize(40 - 8, 25 - 34));
  // The cursor follows the hit code.
  QTest::mouseMove(Form.get(), QPoint(1, 200));
  EXPECT_EQ(Form->cursor().shape(), Qt::SizeHorCursor);
}

TEST_F(SkinForm, CloseButtonReleasedElsewhereClosesNothing) {
  const QRect close = CloseButton();
  ASSERT_TRUE(close.isValid());
  QTest::mousePress(Form.get(), Qt::LeftButton, {}, close.center());
  EXPECT_GE(Frame->Objects().CaptureIndex(), 0);
  QTest::mouseMove(Form.get(), QPoint(250, 150));
  // Released over the client area: the capture ends and nothing closes.
  QTest::mouseRelease(Form.get(), Qt::LeftButton, {}, QPoint(250, 150));
  EXPECT_TRUE(Form->isVisible());
  EXPECT_EQ(Frame->Objects().CaptureIndex(), -1);
  EXPECT_FALSE(Frame->Objects().FindCommand(TbsCommand::cmClose)->FDown);
  // Released over it, it closes.
  QTest::mouseClick(Form.get(), Qt::LeftButton, {}, close.center());
  EXPECT_FALSE(Form->isVisible());
}

TEST_F(SkinForm, SkinChangeAtRunTimeRedrawsTheFrame) {
  const QImage before = Form->grab().toImage();
  const QString dark = QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/samples/skins/dbskin.dat";
  ASSERT_TRUE(Skin->LoadCompressedSkinFile(dark));
  QApplication::processEvents();
  // The frame heard the change first, then passed it on.
  EXPECT_EQ(Listener->Seen, (std::vector<int>{SKN_BEFORECHANGE, SKN_CHANGE, SKN_AFTERCHANGE}));
  EXPECT_TRUE(Frame->SkinSupport());
  const QImage after = Form->grab().toImage();
  const QPoint caption(250, 5);
  EXPECT_NE(before.pixel(caption), after.pixel(caption));
  // The caption strip now shows the new frame picture's pixels.
  const QImage pic = Skin->FramePicture.convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(after.pixel(caption) & 0xFFFFFF, pic.pixel(pic.width() / 2, 5) & 0xFFFFFF);

  // Before the change the frame drops its objects and paints nothing skinned.
  TbsSkinMessageEvent beforeChange(SKN_BEFORECHANGE, Skin.get());
  QApplication::sendEvent(Form.get(), &beforeChange);
  EXPECT_FALSE(Frame->SkinSupport());
  EXPECT_TRUE(Frame->Objects().Objects().empty());
  TbsSkinMessageEvent change(SKN_CHANGE, Skin.get());
  QApplication::sendEvent(Form.get(), &change);
  EXPECT_TRUE(Frame->SkinSupport());
  EXPECT_FALSE(Frame->Objects().Objects().empty());
}

TEST_F(SkinForm, UnusableSkinsFallBackToThePlainFrame) {
  QTemporaryDir dir;
  for (int kind = 0; kind < 3; ++kind) {
    TbsLoadedSkin skin = MakeSmallSkin(Qt::red, "odd");
    if (kind == 0) {
      // A frame picture larger than the screen.
      const QSize screen = Form->screen()->geometry().size();
      skin.Content.FramePicture = QImage(screen.width() + 10, 60, QImage::Format_RGB32);
      skin.Content.FramePicture.fill(Qt::blue);
      skin.Content.FrameMask = QImage();
    } else if (kind == 1) {
      skin.Content.clientrect = TbsRect{4, 20, 4, 36};  // empty
    } else {
      skin.Content.clientrect = TbsRect{56, 36, 4, 20};  // inverted
    }
    const auto stream = CompressSkin(skin);
    const QString path = WriteFile(dir.filePath(QStringLiteral("odd%1.dat").arg(kind)),
                                   SkinFileBytes(3, stream));
    ASSERT_TRUE(Skin->LoadCompressedSkinFile(path)) << kind;
    EXPECT_FALSE(Skin->SkinEmpty);
    EXPECT_FALSE(Frame->SkinSupport()) << kind;
    EXPECT_EQ(Client->geometry(), QRect(3, 22, Form->width() - 6, Form->height() - 25)) << kind;
    EXPECT_TRUE(Form->mask().isEmpty());
  }
}

TEST_F(SkinForm, PlainFrameButtonsAndEdges) {
  Frame->SetSkinData(nullptr);
  EXPECT_FALSE(Frame->SkinSupport());
  EXPECT_EQ(Client->geometry(), QRect(3, 22, 494, 275));
  EXPECT_EQ(Form->minimumSize(), QSize(120, 25));
  EXPECT_EQ(Frame->HitTest(QPoint(0, 150)), bsHtLeft);
  EXPECT_EQ(Frame->HitTest(QPoint(250, 10)), bsHtCaption);
  const QPoint close(500 - 3 - 8, 12);  // the close square's middle
  EXPECT_EQ(Frame->HitTest(close), bsHtFrame);
  QTest::mousePress(Form.get(), Qt::LeftButton, {}, close);
  QTest::mouseMove(Form.get(), QPoint(250, 150));
  QTest::mouseRelease(Form.get(), Qt::LeftButton, {}, QPoint(250, 150));
  EXPECT_TRUE(Form->isVisible()) << "released outside";
  const QPoint max(500 - 3 - 17 - 8, 12);
  QTest::mouseClick(Form.get(), Qt::LeftButton, {}, max);
  EXPECT_TRUE(Frame->Maximized());
  // The buttons stay at the right end of the wider bar.
  QTest::mouseClick(Form.get(), Qt::LeftButton, {}, QPoint(Form->width() - 3 - 17 - 8, 12));
  EXPECT_FALSE(Frame->Maximized());
  QTest::mouseClick(Form.get(), Qt::LeftButton, {}, close);
  EXPECT_FALSE(Form->isVisible());
}

TEST_F(SkinForm, MainWindowMinimiseIconifiesAndAltIsConsumed) {
  Frame->MainForm = true;
  Frame->Minimize();
  QApplication::processEvents();
  EXPECT_TRUE(Form->windowState() & Qt::WindowMinimized);
  EXPECT_FALSE(Frame->Minimized()) << "the frame's own state stays normal";
  Form->showNormal();
  QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
  EXPECT_TRUE(QApplication::sendEvent(Form.get(), &alt) && alt.isAccepted());
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
