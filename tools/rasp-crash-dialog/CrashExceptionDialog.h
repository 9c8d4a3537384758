#pragma once
// The exception dialog: the message, the send / screenshot / clipboard
// choices, OK, the terminate or restart button, and the details view with
// the tabs General, Call Stack, Modules and CPU.
#include "crash/protocol/CrashDialogProtocol.h"
#include "tools/rasp-crash-dialog/CrashDialogGeometry.h"
#include "tools/rasp-crash-dialog/CrashStyledDialog.h"

#include <QPixmap>

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace rasp {

class TCrashExceptionDialog : public TCrashStyledDialog {
  Q_OBJECT
public:
  explicit TCrashExceptionDialog(const TCrashDialogRequest& request, QWidget* parent = nullptr);

  bool DetailsShown() const { return FDetailsShown; }
  void SetDetailsShown(bool shown);
  // The choices, read when the dialog closes.
  TCrashDialogResult Result() const;

  QPushButton* OkButton() const { return FOk; }
  QPushButton* TerminateButton() const { return FTerminate; }
  QPushButton* DetailsButton() const { return FDetails; }
  QCheckBox* SendBox() const { return FSend; }
  QCheckBox* ScreenshotBox() const { return FScreenshot; }
  QCheckBox* ClipboardBox() const { return FClipboard; }
  QTabWidget* Tabs() const { return FTabs; }
  QLabel* TextLabel() const { return FText; }
  QTreeWidget* StackList() const { return FStackList; }
  QTreeWidget* ModuleList() const { return FModuleList; }

  // An activated call stack row (double click, Enter) that has a line asks
  // a listening development environment to open that source line; true
  // when the message went out.
  bool ActivateStackRow(int row);
  int BottomSpace() const { return FSpace; }

  void done(int r) override;

protected:
  void resizeEvent(QResizeEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void PaintClient(QPainter& p) override;

private:
  void LayOut();
  void LayOutCollapsed();
  void SaveGeometryFile();
  // Until the user has chosen widths, the list's columns fit the tab: the
  // columns in `keep` at their contents, the others sharing the rest.
  void FitColumns(QTreeWidget* list, bool widthsStored, const std::vector<int>& keep);
  // From the send row to the screenshot row below it.
  int RowStep() const { return std::max(16, FBoxHeight + 3); }
  static constexpr int BottomMargin = 3;
  QTreeWidget* MakeList(const std::vector<TCrashDialogRow>& rows, int firstText, const std::array<int, 6>& widths,
                        std::vector<int> rightAligned, bool widthStored);

  TCrashDialogRequest FRequest;
  TCrashDialogGeometry FGeometry;
  QPixmap FMonitor;
  QLabel* FText;
  QTabWidget* FTabs;
  QTreeWidget* FStackList = nullptr;
  QTreeWidget* FModuleList = nullptr;
  QPushButton *FOk, *FTerminate, *FDetails;
  QCheckBox *FSend, *FScreenshot, *FClipboard;
  int FSpace = 20;
  int FBoxHeight = 13;
  int FButtonWidth = 75;
  bool FDetailsShown = false;
  bool FTerminateRequested = false;
  bool FLayingOut = false;
};

} // namespace rasp
