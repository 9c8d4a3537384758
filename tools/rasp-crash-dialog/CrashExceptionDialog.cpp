#include "tools/rasp-crash-dialog/CrashExceptionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QScreen>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "crash/protocol/CrashMailslot.h"
#include "tools/rasp-crash-dialog/CrashDialogPictures.h"

namespace rasp {

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QString WithoutMnemonic(QString s) {
  s.replace("&&", "\x01");
  s.remove('&');
  s.replace("\x01", "&");
  return s;
}

QWidget* MemoPage(const QString& label, const QString& text, const QFont& fixed) {
  auto* page = new QWidget;
  auto* lay = new QVBoxLayout(page);
  lay->setContentsMargins(4, 2, 4, 4);
  auto* caption = new QLabel(label);
  lay->addWidget(caption);
  auto* edit = new QPlainTextEdit(text);
  // The label names the text for a screen reader.
  caption->setBuddy(edit);
  edit->setReadOnly(true);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setFont(fixed);
  QPalette pal = edit->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, Qt::black);
  edit->setPalette(pal);
  lay->addWidget(edit);
  return page;
}

} // namespace

TCrashExceptionDialog::TCrashExceptionDialog(const TCrashDialogRequest& request, QWidget* parent)
    : TCrashStyledDialog(request.StyledDialogs, Q(request.Text(2)), parent), FRequest(request) {
  FGeometry.Load(Q(request.GeometryFile));
  FMonitor = CrashMonitorPicture();

  FText = new QLabel(this);
  FText->setWordWrap(true);
  FText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  FText->setTextFormat(Qt::PlainText);

  FTabs = new QTabWidget(this);
  const QFont fixed = FixedFont();
  FTabs->addTab(MemoPage(Q(request.Text(5)), Q(request.HeaderText), fixed), Q(request.Text(4)));
  {
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);
    lay->setContentsMargins(4, 2, 4, 4);
    auto* caption = new QLabel(Q(request.Text(7)));
    lay->addWidget(caption);
    FStackList = MakeList(request.Stack, 47, FGeometry.Col, {5}, FGeometry.ColStored);
    caption->setBuddy(FStackList);
    // Item views take no name from a label: they are given it.
    FStackList->setAccessibleName(WithoutMnemonic(caption->text()));
    connect(FStackList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ActivateStackRow(FStackList->indexOfTopLevelItem(item)); });
    lay->addWidget(FStackList);
    FTabs->addTab(page, Q(request.Text(6)));
  }
  {
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);
    lay->setContentsMargins(4, 2, 4, 4);
    auto* caption = new QLabel(Q(request.Text(9)));
    lay->addWidget(caption);
    FModuleList = MakeList(request.Modules, 62, FGeometry.ColMod, {3, 4}, FGeometry.ColModStored);
    caption->setBuddy(FModuleList);
    FModuleList->setAccessibleName(WithoutMnemonic(caption->text()));
    lay->addWidget(FModuleList);
    FTabs->addTab(page, Q(request.Text(8)));
  }
  FTabs->addTab(MemoPage(Q(request.Text(11)), Q(request.CPUText), fixed), Q(request.Text(10)));
  FTabs->setCurrentIndex(request.FirstTab);
  connect(FTabs, &QTabWidget::currentChanged, this, [this] { LayOut(); });

  FOk = new QPushButton(Q(request.Text(12)), this);
  FOk->setDefault(true);
  FTerminate = new QPushButton(Q(request.Text(request.TerminateBtnOperation == 1 ? 14 : 13)), this);
  FDetails = new QPushButton(this);
  const bool styled = request.StyledDialogs;
  for (QPushButton* b : {FOk, FTerminate, FDetails})
    b->setFlat(styled);

  FSend = new QCheckBox(Q(request.Text(16)), this);
  FScreenshot = new QCheckBox(Q(request.Text(17)), this);
  FClipboard = new QCheckBox(Q(request.Text(18)), this);
  const bool mail = request.SendMode != 0 && !request.DuplicateFound;
  FSend->setVisible(mail);
  FScreenshot->setVisible(mail && request.AttachScreenshot);
  FSend->setChecked(request.SendMode != 0);
  FScreenshot->setChecked(request.AttachScreenshot);
  FScreenshot->setEnabled(FSend->isChecked());
  FClipboard->setChecked(false);
  // 34 and 20 pixels hold rows of 13-pixel boxes; the space grows with the
  // boxes the style draws, so that no row touches the bottom edge.
  FBoxHeight = std::max(13, FSend->sizeHint().height());
  FSpace = FSend->isVisibleTo(this) && FScreenshot->isVisibleTo(this)
               ? std::max(34, 2 + RowStep() + FBoxHeight + BottomMargin)
               : std::max(20, 2 + FBoxHeight + BottomMargin);
  connect(FSend, &QCheckBox::toggled, FScreenshot, &QWidget::setEnabled);

  FTerminate->setVisible(request.ShowTerminateBtn && request.ReportCount > request.ErrorsNumberToShowTerminateBtn);

  QFontMetrics fm(font());
  for (int i = 12; i <= 15; ++i)
    FButtonWidth = std::max(FButtonWidth, fm.horizontalAdvance(WithoutMnemonic(Q(request.Text(i))) + "O") + 12);

  connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(FTerminate, &QPushButton::clicked, this, [this] {
    FTerminateRequested = true;
    accept();
  });
  connect(FDetails, &QPushButton::clicked, this, [this] { SetDetailsShown(!FDetailsShown); });

  FOk->setFocus();
  SetDetailsShown(false);
}

QTreeWidget* TCrashExceptionDialog::MakeList(const std::vector<TCrashDialogRow>& rows, int firstText,
                                             const std::array<int, 6>& widths, std::vector<int> rightAligned,
                                             bool widthStored) {
  auto* list = new QTreeWidget;
  list->setRootIsDecorated(false);
  list->header()->setStretchLastSection(false);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setFont(FixedFont());
  QStringList heads;
  for (int i = 0; i < 6; ++i)
    heads << WithoutMnemonic(Q(FRequest.Text(firstText + i)));
  list->setHeaderLabels(heads);
  QPalette pal = list->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, Qt::black);
  list->setPalette(pal);
  for (const TCrashDialogRow& row : rows) {
    auto* item = new QTreeWidgetItem(list);
    for (int c = 0; c < 6; ++c) {
      item->setText(c, Q(row[c]));
      for (int r : rightAligned)
        if (r == c)
          item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    item->setIcon(0, QIcon(CrashListIcon(Q(row[6]))));
  }
  for (int c = 0; c < 6; ++c)
    list->setColumnWidth(c, widths[c]);
  // Until the user chose a width, the 16 hex digits of an address show whole.
  if (!widthStored && !rows.empty()) {
    list->resizeColumnToContents(0);
    list->setColumnWidth(0, std::max(widths[0], list->columnWidth(0)));
  }
  // A width dragged by the user is kept from then on.
  connect(list->header(), &QHeaderView::sectionResized, list, [this, list] {
    if (!FLayingOut)
      list->setProperty("userWidths", true);
  });
  // The columns fit the list as it is laid out.
  list->viewport()->installEventFilter(this);
  return list;
}

bool TCrashExceptionDialog::ActivateStackRow(int row) {
  if (row < 0 || size_t(row) >= FRequest.Stack.size())
    return false;
  const TCrashDialogRow& r = FRequest.Stack[size_t(row)];
  const std::string& unit = r[2];
  const std::string& line = r[5];
  if (line.empty() || line.size() > 10 || line.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const unsigned long long n = std::stoull(line);
  if (n == 0 || n > 0xFFFFFFFFull)
    return false;
  return CrashMailslotSend(CrashMailslotName, CrashSourcePositionMessage(unit, uint32_t(n)));
}

void TCrashExceptionDialog::SetDetailsShown(bool shown) {
  if (FDetailsShown && !shown)
    SaveGeometryFile();
  FDetailsShown = shown;
  FLayingOut = true;
  const QString details = Q(FRequest.Text(15));
  if (!shown) {
    FDetails->setText(details + " >>");
    FText->setText(Q(FRequest.ShortText));
    FTabs->hide();
    LayOutCollapsed();
  } else {
    FDetails->setText("<< " + details);
    FText->setText(Q(FRequest.Text(3)));
    FTabs->show();
    setMinimumSize(300, 200);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QRect r = FGeometry.Placed(area);
    setGeometry(r);
    if (FGeometry.WindowsState == 3)
      setWindowState(Qt::WindowMaximized);
  }
  FLayingOut = false;
  LayOut();
}

void TCrashExceptionDialog::LayOutCollapsed() {
  // The text is measured over its lines plus one line made of the two
  // check box texts, so that the choices fit below it.
  QFontMetrics fm(font());
  const int frame = FrameWidth();
  const int maxText = 640 - (2 * frame + 58);
  QStringList lines = Q(FRequest.ShortText).split(QRegularExpression("\r\n|\n|\r"));
  int widest = 0;
  for (const QString& l : lines)
    widest = std::max(widest, fm.horizontalAdvance(l));
  // The row of check boxes must fit too: the send and clipboard boxes share
  // it in two halves; alone, the clipboard box has the whole row.
  const int indicator = FClipboard->sizeHint().width() - fm.horizontalAdvance(FClipboard->text().remove('&'));
  const int clip = fm.horizontalAdvance(WithoutMnemonic(Q(FRequest.Text(18)))) + indicator;
  const int send = fm.horizontalAdvance(WithoutMnemonic(Q(FRequest.Text(16)))) + indicator;
  const int row = FSend->isVisibleTo(this) ? 2 * std::max(send, clip) : clip;
  widest = std::max(widest, row - 58 - 16 + 8);
  const int textWidth = std::min(widest + 16, maxText);
  const int textHeight =
      fm.boundingRect(QRect(0, 0, textWidth, 10000), Qt::TextWordWrap, Q(FRequest.ShortText)).height();
  const int width = std::max(250, textWidth + 2 * frame + 58);
  // Buttons sit (space + 32) above the bottom, below the picture and text.
  const int clientHeight = 52 + std::max(0, textHeight - 39) + 32 + FSpace;
  const int height = clientHeight + 2 * frame + CaptionHeight();
  setMinimumSize(width, height);
  setMaximumSize(width, height);
  resize(width, height);
  FText->setGeometry(ClientOrigin().x() + 48, ClientOrigin().y() + 8, textWidth, std::max(textHeight, 16));
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    QRect a = screen->availableGeometry();
    move(a.x() + (a.width() - width) / 2, a.y() + (a.height() - height) / 2);
  }
}

void TCrashExceptionDialog::LayOut() {
  const QPoint o = ClientOrigin();
  const int w = width() - 2 * FrameWidth();
  const int h = height() - 2 * FrameWidth() - CaptionHeight();
  const int top = h - FSpace - 32;
  FOk->setGeometry(o.x() + (w - FButtonWidth) / 2, o.y() + top, FButtonWidth, 25);
  FTerminate->setGeometry(o.x() + 5, o.y() + top, FButtonWidth, 25);
  FDetails->setGeometry(o.x() + w - FButtonWidth - 5, o.y() + top, FButtonWidth, 25);
  const int half = (w - 8) / 2;
  const int boxH = FBoxHeight;
  FSend->setGeometry(o.x() + 4, o.y() + top + 34, half, boxH);
  if (FSend->isVisibleTo(this))
    FClipboard->setGeometry(o.x() + 4 + half, o.y() + top + 34, half, boxH);
  else
    FClipboard->setGeometry(o.x() + 4, o.y() + top + 34, w - 8, boxH);
  FClipboard->setLayoutDirection(Qt::RightToLeft);
  FScreenshot->setGeometry(o.x() + 23, o.y() + top + 34 + RowStep(), std::max(half, w - 27), boxH);
  if (FDetailsShown) {
    FText->setGeometry(o.x() + 48, o.y() + 8, w - 56, 42);
    FTabs->setGeometry(o.x() + 4, o.y() + 52, w - 8, std::max(40, top - 56));
  }
}

bool TCrashExceptionDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (FStackList && watched == FStackList->viewport())
      FitColumns(FStackList, FGeometry.ColStored, {0, 1, 5});
    if (FModuleList && watched == FModuleList->viewport())
      FitColumns(FModuleList, FGeometry.ColModStored, {0, 1, 3, 4});
  }
  return TCrashStyledDialog::eventFilter(watched, event);
}

void TCrashExceptionDialog::FitColumns(QTreeWidget* list, bool widthsStored, const std::vector<int>& keep) {
  // Widths the user chose (stored, or dragged in this dialog) stay as they are.
  if (widthsStored || list->property("userWidths").toBool())
    return;
  FLayingOut = true;
  // The viewport less a vertical scroll bar that may yet appear.
  const int avail = list->viewport()->width() -
                    (list->verticalScrollBar()->isVisible() ? 0 : list->verticalScrollBar()->sizeHint().width());
  // The kept columns show whole; the others get at least their caption and
  // share what is left in proportion to what more they would need.
  const QFontMetrics fm(list->header()->font());
  std::array<int, 6> want{}, least{};
  int fixed = 0, minimum = 0, extra = 0;
  for (int c = 0; c < 6; ++c) {
    list->resizeColumnToContents(c);
    want[size_t(c)] = list->columnWidth(c);
    const bool kept = std::find(keep.begin(), keep.end(), c) != keep.end();
    least[size_t(c)] = kept ? want[size_t(c)]
                            : std::min(want[size_t(c)], fm.horizontalAdvance(list->headerItem()->text(c)) + 16);
    (kept ? fixed : minimum) += least[size_t(c)];
    if (!kept)
      extra += want[size_t(c)] - least[size_t(c)];
  }
  const int room = std::max(0, avail - fixed - minimum);
  for (int c = 0; c < 6; ++c) {
    int width = least[size_t(c)];
    if (extra > 0 && std::find(keep.begin(), keep.end(), c) == keep.end())
      width += std::min(want[size_t(c)] - least[size_t(c)],
                        int(qint64(room) * (want[size_t(c)] - least[size_t(c)]) / extra));
    else if (extra <= 0)
      width = want[size_t(c)];
    list->setColumnWidth(c, width);
  }
  FLayingOut = false;
}

void TCrashExceptionDialog::resizeEvent(QResizeEvent* e) {
  TCrashStyledDialog::resizeEvent(e);
  if (!FLayingOut)
    LayOut();
}

void TCrashExceptionDialog::PaintClient(QPainter& p) {
  p.drawPixmap(ClientOrigin() + QPoint(8, 8), FMonitor);
}

void TCrashExceptionDialog::SaveGeometryFile() {
  if (windowState() & Qt::WindowMaximized) {
    FGeometry.WindowsState = 3;
  } else if (windowState() & Qt::WindowMinimized) {
    FGeometry.WindowsState = 6;
  } else {
    FGeometry.WindowsState = 1;
    FGeometry.Width = width();
    FGeometry.Height = height();
    FGeometry.Left = x();
    FGeometry.Top = y();
  }
  // Widths are the user's when dragged (or stored before); the ones fitted
  // to this report's rows are not kept, so the next report fits its own.
  for (int c = 0; c < 6; ++c) {
    if (FGeometry.ColStored || FStackList->property("userWidths").toBool())
      FGeometry.Col[c] = FStackList->columnWidth(c);
    if (FGeometry.ColModStored || FModuleList->property("userWidths").toBool())
      FGeometry.ColMod[c] = FModuleList->columnWidth(c);
  }
  FGeometry.ColStored = FGeometry.ColStored || FStackList->property("userWidths").toBool();
  FGeometry.ColModStored = FGeometry.ColModStored || FModuleList->property("userWidths").toBool();
  FGeometry.Save(Q(FRequest.GeometryFile));
}

void TCrashExceptionDialog::done(int r) {
  // The report goes on the clipboard once it is complete (with the steps
  // to reproduce), through the helper's clipboard mode.
  if (FDetailsShown)
    SaveGeometryFile();
  TCrashStyledDialog::done(r);
}

TCrashDialogResult TCrashExceptionDialog::Result() const {
  TCrashDialogResult r;
  r.Shown = Painted();
  r.Send = FSend->isVisibleTo(this) && FSend->isChecked();
  r.Screenshot = r.Send && FScreenshot->isVisibleTo(this) && FScreenshot->isChecked();
  r.Clipboard = FClipboard->isChecked();
  r.Terminate = FTerminateRequested;
  return r;
}

} // namespace rasp
