// The crash dialogs driven offscreen, the helper's protocol, and the PNG
// writer read back by Qt.
#include "crash/protocol/CrashDialogClient.h"
#include "crash/protocol/CrashDialogProtocol.h"
#include "crash/protocol/CrashPng.h"
#include "tools/rasp-crash-dialog/CrashExceptionDialog.h"
#include "tools/rasp-crash-dialog/CrashProgressDialog.h"
#include "tools/rasp-crash-dialog/CrashStepsDialog.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace rasp {
namespace {

TCrashDialogRequest Request() {
  TCrashDialogRequest r;
  r.ShortText = "Access violation.";
  r.HeaderText = "Application:\r\n------";
  r.Stack.push_back({"0000000000401234", "tellivo-rasp", "FMain", "TFMain", "Compare", "42", "PAS"});
  r.Modules.push_back({"0000000000400000", "tellivo-rasp", "Tellivo Rasp", "1.1.x", "12 Kb", "/usr/lib", "VCL"});
  return r;
}

TEST(CrashExceptionDialog, OneLineMessageGivesTheNarrowCollapsedView) {
  TCrashDialogRequest r = Request();
  TCrashExceptionDialog d(r);
  d.show();
  EXPECT_EQ(d.width(), 250);
  EXPECT_FALSE(d.Tabs()->isVisible());
  EXPECT_EQ(d.DetailsButton()->text(), "&Details >>");
  EXPECT_EQ(d.TextLabel()->text(), "Access violation.");
  EXPECT_EQ(d.minimumSize(), d.maximumSize());  // cannot be resized
  // Mail off: neither mail box, 20 pixels below the buttons.
  EXPECT_FALSE(d.SendBox()->isVisible());
  EXPECT_FALSE(d.ScreenshotBox()->isVisible());
  EXPECT_TRUE(d.ClipboardBox()->isVisible());
  EXPECT_GE(d.BottomSpace(), 20);
  // The buttons are inside the window and below the picture.
  EXPECT_GE(d.OkButton()->y(), 8 + 32);
  EXPECT_LE(d.OkButton()->geometry().bottom(), d.height());
  // A long message widens it, up to the limit.
  r.ShortText = "";
  for (int i = 0; i < 60; ++i)
    r.ShortText += "word ";
  TCrashExceptionDialog wide(r);
  EXPECT_GT(wide.width(), 250);
  EXPECT_LE(wide.width(), 640);
  EXPECT_GT(wide.height(), d.height());
}

TEST(CrashExceptionDialog, TerminateButtonFromTheFourthReport) {
  TCrashDialogRequest r = Request();
  r.ReportCount = 3;
  EXPECT_FALSE(TCrashExceptionDialog(r).TerminateButton()->isVisibleTo(nullptr));
  r.ReportCount = 4;
  TCrashExceptionDialog d(r);
  EXPECT_TRUE(d.TerminateButton()->isVisibleTo(&d));
  EXPECT_EQ(d.TerminateButton()->text(), "&Restart");
  r.TerminateBtnOperation = 0;
  EXPECT_EQ(TCrashExceptionDialog(r).TerminateButton()->text(), "&Terminate");
  r.ShowTerminateBtn = false;
  EXPECT_FALSE(TCrashExceptionDialog(r).TerminateButton()->isVisibleTo(nullptr));
  d.show();
  QTest::mouseClick(d.TerminateButton(), Qt::LeftButton);
  EXPECT_TRUE(d.Result().Terminate);
}

TEST(CrashExceptionDialog, UntickingSendGreysOutTheScreenshot) {
  TCrashDialogRequest r = Request();
  r.SendMode = 2;
  r.AttachScreenshot = true;
  TCrashExceptionDialog d(r);
  d.show();
  EXPECT_GE(d.BottomSpace(), 34);
  ASSERT_TRUE(d.SendBox()->isVisible());
  EXPECT_TRUE(d.SendBox()->isChecked());
  EXPECT_TRUE(d.ScreenshotBox()->isChecked());
  EXPECT_TRUE(d.ScreenshotBox()->isEnabled());
  EXPECT_TRUE(d.Result().Send);
  EXPECT_TRUE(d.Result().Screenshot);
  QTest::mouseClick(d.SendBox(), Qt::LeftButton, {}, QPoint(6, d.SendBox()->height() / 2));
  EXPECT_FALSE(d.SendBox()->isChecked());
  EXPECT_FALSE(d.ScreenshotBox()->isEnabled());
  EXPECT_FALSE(d.Result().Send);
  EXPECT_FALSE(d.Result().Screenshot);
  // A duplicate is never mailed: no mail boxes at all.
  r.DuplicateFound = true;
  TCrashExceptionDialog dup(r);
  EXPECT_FALSE(dup.SendBox()->isVisibleTo(&dup));
  EXPECT_GE(dup.BottomSpace(), 20);
  EXPECT_LT(dup.BottomSpace(), d.BottomSpace());
}

// The rows of check boxes below the buttons: one under the other, the last
// clear of the dialog's bottom edge, however tall the style draws them.
TEST(CrashExceptionDialog, CheckBoxRowsKeepClearOfTheBottomEdge) {
  TCrashDialogRequest r = Request();
  r.SendMode = 2;
  r.AttachScreenshot = true;
  for (bool styled : {true, false}) {
    SCOPED_TRACE(styled);
    r.StyledDialogs = styled;
    TCrashExceptionDialog d(r);
    d.show();
    const int clientBottom = d.height() - d.FrameWidth();
    EXPECT_GE(d.SendBox()->y(), d.OkButton()->geometry().bottom() + 1);
    EXPECT_GE(d.ScreenshotBox()->y(), d.SendBox()->geometry().bottom() + 1);
    EXPECT_GE(clientBottom - (d.ScreenshotBox()->geometry().bottom() + 1), 3);
    EXPECT_GE(d.ScreenshotBox()->height(), d.ScreenshotBox()->sizeHint().height());
    if (const char* keep = std::getenv("RASP_DIALOG_COLLAPSED_SHOT"))
      d.grab().save(QString::fromUtf8(keep) + (styled ? "-styled.png" : "-plain.png"));
  }
}

// At its default size every column of the call stack shows, the line
// included, and module names are whole; the others share the rest.
TEST(CrashExceptionDialog, CallStackColumnsAllShowAtTheDefaultSize) {
  TCrashDialogRequest r = Request();
  r.Stack.clear();
  for (int i = 0; i < 30; ++i)
    r.Stack.push_back({"00007F12345678" + std::to_string(10 + i), "libQt6Widgets.so.6", "qwidget.cpp",
                       "QWidgetPrivate::QWidgetRepaintManagerFriend", "sendPaintEventForTheWholeWindowTree",
                       std::to_string(12345 + i), "PAS"});
  TCrashExceptionDialog d(r);
  d.show();
  d.SetDetailsShown(true);
  ASSERT_EQ(d.size(), QSize(640, 385));
  for (int tab : {1, 2}) {
    d.Tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    QTreeWidget* list = tab == 1 ? d.StackList() : d.ModuleList();
    SCOPED_TRACE(tab);
    const int view = list->viewport()->width();
    // What a column needs to show its widest cell whole.
    auto needed = [list](int c) { return static_cast<QAbstractItemView*>(list)->sizeHintForColumn(c); };
    for (int c = 0; c < 6; ++c) {
      const int right = list->header()->sectionViewportPosition(c) + list->header()->sectionSize(c);
      EXPECT_LE(right, view) << "column " << c << " is cut off; widths " << list->columnWidth(0) << " "
                             << list->columnWidth(1) << " " << list->columnWidth(2) << " " << list->columnWidth(3)
                             << " " << list->columnWidth(4) << " " << list->columnWidth(5);
    }
    EXPECT_GE(list->columnWidth(1), needed(1)) << "module names are cut";
    EXPECT_GE(list->columnWidth(0), needed(0)) << "addresses are cut";
    if (tab == 1) {
      EXPECT_GE(list->columnWidth(5), needed(5)) << "line numbers are cut";
    }
  }
  if (const char* keep = std::getenv("RASP_DIALOG_STACK_SHOT")) {
    d.Tabs()->setCurrentIndex(1);
    d.grab().save(keep);
  }
}

// Every control has a role, a name (a button its caption, an edit or a
// list the label beside it), a value where it has one, and its action.
TEST(CrashDialogs, EveryControlSpeaksToAScreenReader) {
  auto check = [](QWidget* dialog) {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(dialog);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->role(), QAccessible::Dialog);
    EXPECT_FALSE(window->text(QAccessible::Name).isEmpty());
    int checked = 0;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(dialog) || !(qobject_cast<QAbstractButton*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
                                       qobject_cast<QTreeWidget*>(w) || qobject_cast<QProgressBar*>(w) ||
                                       qobject_cast<QTabBar*>(w) || qobject_cast<QLabel*>(w)))
        continue;
      if (!w->isVisible())
        continue;
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
      ASSERT_TRUE(a) << w->metaObject()->className();
      SCOPED_TRACE(w->metaObject()->className() + std::string(" ") + a->text(QAccessible::Name).toStdString());
      EXPECT_NE(a->role(), QAccessible::NoRole);
      EXPECT_NE(a->role(), QAccessible::Client);
      EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty()) << "no name";
      if (qobject_cast<QAbstractButton*>(w)) {
        ASSERT_TRUE(a->actionInterface());
        EXPECT_FALSE(a->actionInterface()->actionNames().isEmpty()) << "no default action";
        EXPECT_EQ(a->text(QAccessible::Name).contains('&'), false);
      }
      if (auto* box = qobject_cast<QCheckBox*>(w)) {
        EXPECT_EQ(a->state().checked, box->isChecked()) << "the box's value";
      }
      if (qobject_cast<QProgressBar*>(w)) {
        ASSERT_TRUE(a->valueInterface());
        EXPECT_EQ(a->valueInterface()->currentValue().toInt(), 40);
      }
      ++checked;
    }
    EXPECT_GE(checked, 2);
  };
  TCrashDialogRequest r = Request();
  r.SendMode = 2;
  r.AttachScreenshot = true;
  TCrashExceptionDialog d(r);
  d.show();
  check(&d);
  d.SetDetailsShown(true);
  for (int tab = 0; tab < 4; ++tab) {
    d.Tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
    check(&d);
  }
  TCrashStepsDialog steps(r);
  steps.show();
  check(&steps);
  TCrashProgressDialog progress(r);
  progress.Apply("progress Message 1/1: Sending message...");
  progress.Apply("position 40");
  progress.show();
  check(&progress);
}

TEST(CrashExceptionDialog, ExpandedGeometryIsSavedAndReused) {
  QTemporaryDir dir;
  TCrashDialogRequest r = Request();
  r.GeometryFile = dir.filePath("Crashwise.ini").toStdString();
  r.FirstTab = 2;
  {
    TCrashExceptionDialog d(r);
    d.show();
    QTest::mouseClick(d.DetailsButton(), Qt::LeftButton);
    ASSERT_TRUE(d.DetailsShown());
    EXPECT_EQ(d.DetailsButton()->text(), "<< &Details");
    EXPECT_TRUE(d.Tabs()->isVisible());
    EXPECT_EQ(d.Tabs()->currentIndex(), 2);
    EXPECT_EQ(d.Tabs()->tabText(1), "Call Stack");
    EXPECT_EQ(d.size(), QSize(640, 385));
    d.setGeometry(30, 40, 700, 420);
    d.Tabs()->setCurrentIndex(1);
    d.StackList()->header()->resizeSection(4, 222);  // as the user drags it
    d.grab().save(dir.filePath("expanded.png"));
    if (const char* keep = std::getenv("RASP_DIALOG_SHOT"))
      d.grab().save(keep);
    d.accept();
  }
  QSettings s(dir.filePath("Crashwise.ini"), QSettings::IniFormat);
  EXPECT_EQ(s.value("Coordinates/Width").toInt(), 700);
  EXPECT_EQ(s.value("Coordinates/Height").toInt(), 420);
  EXPECT_EQ(s.value("Coordinates/Left").toInt(), 30);
  EXPECT_EQ(s.value("Coordinates/Top").toInt(), 40);
  EXPECT_EQ(s.value("Coordinates/WindowsState").toInt(), 1);
  EXPECT_EQ(s.value("Coordinates/Col4").toInt(), 222);
  // Widths fitted to one report's rows are not the user's: not kept.
  EXPECT_FALSE(s.contains("Coordinates/ColMod0"));
  TCrashExceptionDialog again(r);
  again.show();
  EXPECT_EQ(again.width(), 250);  // opens collapsed
  again.SetDetailsShown(true);
  EXPECT_EQ(again.geometry(), QRect(30, 40, 700, 420));
  EXPECT_EQ(again.StackList()->columnWidth(4), 222);
  // Off-screen coordinates are pulled back.
  s.setValue("Coordinates/Left", -50);
  s.setValue("Coordinates/Top", 100000);
  s.sync();
  TCrashExceptionDialog clamped(r);
  clamped.SetDetailsShown(true);
  EXPECT_EQ(clamped.x(), 0);
  EXPECT_LE(clamped.geometry().bottom(), 100000);
  EXPECT_GE(clamped.y(), 0);
}

TEST(CrashStepsDialog, TextIsTrimmedHoweverItCloses) {
  TCrashDialogRequest r = Request();
  TCrashStepsDialog d(r);
  d.show();
  EXPECT_EQ(d.windowTitle(), "Request");
  QTest::keyClicks(d.Edit(), "  opened a file ");
  d.Edit()->appendPlainText("and compared\n\n");
  d.reject();
  EXPECT_EQ(d.ReproduceText(), "opened a file \nand compared");
}

TEST(CrashProgressDialog, FollowsTheReportThread) {
  TCrashDialogRequest r = Request();
  TCrashProgressDialog d(r);
  EXPECT_TRUE(d.Apply("progress Message 1/2: Sending message..."));
  EXPECT_TRUE(d.Apply("position 40"));
  EXPECT_TRUE(d.Apply("position 400"));
  EXPECT_EQ(d.Status()->text(), "Message 1/2: Sending message...");
  EXPECT_EQ(d.Bar()->value(), 100);
  EXPECT_FALSE(d.Apply("close"));
}

TEST(CrashDialogProtocol, RequestAndResultRoundTrip) {
  TCrashDialogRequest r = Request();
  r.Texts[2] = "Fehler\tmit\\Tab\r\n";
  r.SendMode = 3;
  r.ReportCount = 7;
  r.GeometryFile = "/tmp/x y/Crashwise.ini";
  std::string wire = CrashDialogWriteRequest(r);
  TCrashDialogRequest back;
  std::string error;
  size_t consumed = 0;
  ASSERT_TRUE(CrashDialogReadRequest(wire + "progress 1\n", back, error, &consumed)) << error;
  EXPECT_EQ(consumed, wire.size());  // what follows "end" is the progress dialog's
  EXPECT_EQ(back.Text(2), "Fehler\tmit\\Tab\r\n");
  EXPECT_EQ(back.Text(16), "&Send this error via Email");
  EXPECT_EQ(back.HeaderText, r.HeaderText);
  EXPECT_EQ(back.Stack, r.Stack);
  EXPECT_EQ(back.Modules, r.Modules);
  EXPECT_EQ(back.SendMode, 3);
  EXPECT_EQ(back.ReportCount, 7);
  EXPECT_EQ(back.GeometryFile, r.GeometryFile);
  TCrashDialogResult res;
  res.Shown = true;
  res.Send = true;
  res.Clipboard = true;
  res.Steps = "a\nb";
  TCrashDialogResult rb = CrashDialogReadResult(CrashDialogWriteResult(res));
  EXPECT_TRUE(rb.Shown && rb.Send && rb.Clipboard && !rb.Screenshot && !rb.Terminate);
  EXPECT_EQ(rb.Steps, "a\nb");
}

TEST(CrashDialogHelper, RunsOffscreenAndSaysNoWithoutDisplay) {
  QTemporaryDir dir;
  TCrashDialogRequest r = Request();
  r.ScreenshotFile = dir.filePath("Screenshot.png").toStdString();
  r.SendMode = 2;
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("RASP_CRASH_DIALOG_AUTOCLOSE", "50");
  p.setProcessEnvironment(env);
  p.start(RASP_CRASH_DIALOG_HELPER, {});
  ASSERT_TRUE(p.waitForStarted());
  p.write(QByteArray::fromStdString(CrashDialogWriteRequest(r)));
  p.closeWriteChannel();
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitCode(), 0);
  TCrashDialogResult res = CrashDialogReadResult(p.readAllStandardOutput().toStdString());
  EXPECT_TRUE(res.Shown);
  EXPECT_TRUE(res.Send);
  EXPECT_EQ(res.ScreenshotFile, r.ScreenshotFile);
  QImage shot(dir.filePath("Screenshot.png"));
  EXPECT_FALSE(shot.isNull());

  env.remove("QT_QPA_PLATFORM");
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  p.setProcessEnvironment(env);
  p.start(RASP_CRASH_DIALOG_HELPER, {});
  p.write(QByteArray::fromStdString(CrashDialogWriteRequest(r)));
  p.closeWriteChannel();
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitCode(), 2);
  EXPECT_FALSE(CrashDialogReadResult(p.readAllStandardOutput().toStdString()).Shown);
}

TEST(CrashPng, ReadBackByQt) {
  // RGB, several IDAT chunks (noise does not compress), odd width.
  const uint32_t w = 601, h = 500;
  std::vector<uint8_t> rgb(size_t(w) * 3 * h + 7);
  uint32_t seed = 7;
  for (auto& b : rgb) {
    seed = seed * 1664525 + 1013904223;
    b = uint8_t(seed >> 24);
  }
  std::string png = CrashPngEncodeRgb(w, h, rgb.data(), size_t(w) * 3);
  ASSERT_FALSE(png.empty());
  int idat = 0;
  for (size_t at = png.find("IDAT"); at != std::string::npos; at = png.find("IDAT", at + 4))
    ++idat;
  EXPECT_GE(idat, 3);
  QImage img = QImage::fromData(QByteArray::fromStdString(png), "PNG");
  ASSERT_EQ(img.size(), QSize(int(w), int(h)));
  for (uint32_t y = 0; y < h; y += 37)
    for (uint32_t x = 0; x < w; x += 41) {
      const uint8_t* p = &rgb[(y * w + x) * 3];
      ASSERT_EQ(img.pixel(int(x), int(y)), qRgb(p[0], p[1], p[2])) << x << "," << y;
    }
  // Indexed with a palette, rows padded to 4 bytes.
  uint8_t palette[768] = {};
  for (int i = 0; i < 256; ++i) {
    palette[i * 3] = uint8_t(i);
    palette[i * 3 + 1] = uint8_t(255 - i);
    palette[i * 3 + 2] = 7;
  }
  std::vector<uint8_t> rows = {1, 2, 3, 0xEE, 200, 100, 50, 0xEE};
  QImage ind = QImage::fromData(QByteArray::fromStdString(CrashPngEncodeIndexed(3, 2, rows.data(), 4, palette)));
  ASSERT_EQ(ind.size(), QSize(3, 2));
  EXPECT_EQ(ind.pixel(2, 0), qRgb(3, 252, 7));
  EXPECT_EQ(ind.pixel(0, 1), qRgb(200, 55, 7));
  EXPECT_EQ(CrashPngCrc(reinterpret_cast<const uint8_t*>("IEND"), 4), 0xAE426082u);
  EXPECT_TRUE(CrashPngEncodeRgb(0, 5, rgb.data(), 3).empty());
}

TEST(CrashDialogClient, ReportThreadSideOfTheHelper) {
  qputenv("RASP_CRASH_DIALOG_AUTOCLOSE", "50");
  TCrashDialogRequest r = Request();
  r.SendMode = 1;
  TCrashDialogResult res = CrashShowDialog(RASP_CRASH_DIALOG_HELPER, r, "Error.\r\nreport text");
  EXPECT_TRUE(res.Shown);
  EXPECT_TRUE(res.Send);
  r.Mode = "steps";
  EXPECT_TRUE(CrashShowDialog(RASP_CRASH_DIALOG_HELPER, r, "").Shown);
  {
    TCrashProgressHelper progress(RASP_CRASH_DIALOG_HELPER, r);
    EXPECT_TRUE(progress.Running());
    progress.SetText("Message 1/1: Connecting with SMTP server...");
    progress.SetPosition(50);
    progress.Close();
    EXPECT_FALSE(progress.Running());
  }
  qunsetenv("RASP_CRASH_DIALOG_AUTOCLOSE");
  // No helper: the report goes to standard error and nothing breaks.
  testing::internal::CaptureStderr();
  res = CrashShowDialog("/nonexistent/rasp-crash-dialog", r, "Error.\r\nreport text");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(res.Shown);
  EXPECT_EQ(err, "Error.\r\nreport text\n");
  TCrashProgressHelper none("/nonexistent/rasp-crash-dialog", r);
  EXPECT_FALSE(none.Running());
  none.SetText("x");  // harmless
}

} // namespace
} // namespace rasp

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
