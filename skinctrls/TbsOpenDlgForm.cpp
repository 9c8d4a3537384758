#include "skinctrls/TbsOpenDlgForm.h"

#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsFileListModel.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinClient.h"
#include "skinctrls/TbsSkinComboBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinMenuSpeedButton.h"
#include "skinctrls/TbsSkinMessage.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinStdLabel.h"
#include "skinctrls/bsFileNames.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QStackedWidget>
#include <QTreeView>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <QTimer>
#include <QDateTime>
#include <QLocale>
#include <climits>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace rasp {

namespace {

QString ParentOf(const QString& folder)
{
    if (folder == QLatin1String("/"))
        return folder;
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'), folder.endsWith('/') ? -2 : -1);
    return slash <= 0 ? QStringLiteral("/") : folder.left(slash);
}

bool FolderExists(const QString& path)
{
    struct stat st {};
    return ::stat(bsEncodeFileName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const QString& path)
{
    struct stat st {};
    return ::stat(bsEncodeFileName(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// Tool bar pictures, 16 by 16.
QImage Glyph(int kind)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(30, 60, 120);
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (kind) {
    case 0:  // back
        p.drawLine(QPointF(13, 8), QPointF(3, 8));
        p.drawPolyline(QPolygonF({QPointF(7, 4), QPointF(3, 8), QPointF(7, 12)}));
        break;
    case 1:  // up
        p.drawLine(QPointF(8, 13), QPointF(8, 3));
        p.drawPolyline(QPolygonF({QPointF(4, 7), QPointF(8, 3), QPointF(12, 7)}));
        break;
    case 2:  // new folder
        p.setPen(QPen(QColor(150, 110, 0), 1));
        p.setBrush(QColor(250, 210, 90));
        p.drawRect(QRectF(1.5, 5.5, 11, 8));
        p.setPen(QPen(QColor(0, 140, 0), 2));
        p.drawLine(QPointF(12, 1), QPointF(12, 7));
        p.drawLine(QPointF(9, 4), QPointF(15, 4));
        break;
    default:  // views
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                p.drawRect(QRectF(2 + x * 7, 2 + y * 7, 5, 5));
        break;
    }
    return img;
}

QIcon OwnIcon(bool folder, int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 16.0;
    p.scale(s, s);
    if (folder) {
        p.setPen(QPen(QColor(150, 110, 0), 1 / s));
        p.setBrush(QColor(250, 210, 90));
        QPainterPath path;
        path.moveTo(1, 3);
        path.lineTo(6, 3);
        path.lineTo(7.5, 5);
        path.lineTo(15, 5);
        path.lineTo(15, 14);
        path.lineTo(1, 14);
        path.closeSubpath();
        p.drawPath(path);
    } else {
        p.setPen(QPen(QColor(90, 90, 90), 1 / s));
        p.setBrush(Qt::white);
        QPainterPath path;
        path.moveTo(3, 1);
        path.lineTo(10, 1);
        path.lineTo(13, 4);
        path.lineTo(13, 15);
        path.lineTo(3, 15);
        path.closeSubpath();
        p.drawPath(path);
        p.setPen(QPen(QColor(150, 150, 150), 1 / s));
        for (int y = 6; y <= 12; y += 2)
            p.drawLine(QPointF(5, y), QPointF(11, y));
    }
    p.end();
    return QIcon(QPixmap::fromImage(img));
}

// The desktop theme's icon when it has one, else ours.
QIcon ItemIcon(bool folder)
{
    QFileIconProvider provider;
    QIcon icon = provider.icon(folder ? QFileIconProvider::Folder : QFileIconProvider::File);
    if (!icon.isNull() && !icon.pixmap(16, 16).isNull())
        return icon;
    QIcon own = OwnIcon(folder, 16);
    own.addPixmap(OwnIcon(folder, 32).pixmap(32, 32));
    return own;
}

}  // namespace

TbsOpenDlgForm::TbsOpenDlgForm(QWidget* parent, TbsSkinData* ctrlSkin, bool checkFileExists,
                               bool multiSelection, bool saveMode)
    : QDialog(parent), FCtrlSkin(ctrlSkin), FCheckFileExists(checkFileExists), FClient(new QWidget(this)),
      FModel(new TbsFileListModel(this)), FMessages(new TbsSkinMessage(this)), FSaveMode(saveMode)
{
    setObjectName(QStringLiteral("TbsOpenDlgForm"));
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(FClient);
    FClient->setObjectName(QStringLiteral("Client"));
    auto* rows = new QVBoxLayout(FClient);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);

    auto* bar = new TbsSkinPanel(FClient);
    bar->setObjectName(QStringLiteral("ToolPanel"));
    bar->SetSkinDataName(QStringLiteral("toolpanel"));
    bar->SetBorderStyle(bvNone);
    bar->setFixedHeight(25);
    BuildToolBar(bar);
    rows->addWidget(bar);

    auto* middle = new TbsSkinPanel(FClient);
    middle->setObjectName(QStringLiteral("ListPanel"));
    auto* middleLayout = new QVBoxLayout(middle);
    middleLayout->setContentsMargins(2, 2, 2, 2);
    FViews = new QStackedWidget(middle);
    FListView = new QListView(FViews);
    FListView->setObjectName(QStringLiteral("lvFiles"));
    FListView->setModel(FModel);
    FListView->setResizeMode(QListView::Adjust);
    FListView->setUniformItemSizes(true);
    FListView->setLayoutMode(QListView::Batched);
    FListView->setBatchSize(TbsFileListModel::BatchSize);
    FDetails = new QTreeView(FViews);
    FDetails->setObjectName(QStringLiteral("tvDetails"));
    FDetails->setModel(FModel);
    FDetails->setSelectionModel(FListView->selectionModel());
    FDetails->setRootIsDecorated(false);
    FDetails->setItemsExpandable(false);
    FDetails->setUniformRowHeights(true);
    FDetails->setAllColumnsShowFocus(true);
    const auto mode = multiSelection ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(FListView), static_cast<QAbstractItemView*>(FDetails)}) {
        v->setSelectionMode(mode);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->installEventFilter(this);
        connect(v, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) { ActivateRow(i.row(), true); });
        // Also a click on the item that is selected already, such as the
        // one drawn selected when the dialog opens.
        connect(v, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) {
            FSelectionByUser = true;
            PutNameOf(i.row());
        });
    }
    FViews->addWidget(FListView);
    FViews->addWidget(FDetails);
    FStatus = new QLabel(middle);
    FStatus->setObjectName(QStringLiteral("lblStatus"));
    FStatus->setWordWrap(true);
    FStatus->setAlignment(Qt::AlignCenter);
    // A long path in the note must not widen the dialog.
    FStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FStatus->hide();
    middleLayout->addWidget(FStatus);
    middleLayout->addWidget(FViews, 1);
    rows->addWidget(middle, 1);
    connect(FListView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SelectionChanged(); });

    auto* bottom = new TbsSkinPanel(FClient);
    bottom->setObjectName(QStringLiteral("BottomPanel"));
    bottom->SetBorderStyle(bvNone);
    bottom->setFixedHeight(80);
    BuildBottom(bottom);
    rows->addWidget(bottom);

    const QFontMetrics fm(FDetails->font());
    const int x = fm.horizontalAdvance(QLatin1Char('X'));
    FModel->SetHeaderCaptions({Text("FLV_NAME", QStringLiteral("Name")), Text("FLV_SIZE", QStringLiteral("Size")),
                               Text("FLV_TYPE", QStringLiteral("Type")),
                               Text("FLV_MODIFIED", QStringLiteral("Modified"))});
    FModel->SetIcons(ItemIcon(true), ItemIcon(false));
    FDetails->header()->resizeSection(0, 25 * x);
    FDetails->header()->resizeSection(1, 10 * x);
    FDetails->header()->resizeSection(2, 10 * x);
    FDetails->header()->resizeSection(3, 14 * x);
    if (FCtrlSkin) {
        for (QWidget* w : FClient->findChildren<QWidget*>())
            if (auto* c = dynamic_cast<TbsSkinClient*>(w))
                c->SetSkinData(FCtrlSkin);
        if (auto* c = dynamic_cast<TbsSkinClient*>(static_cast<QWidget*>(bar)))
            c->SetSkinData(FCtrlSkin);
        // A skinned name field is as high as its skin picture.
        if (FNameField->IsSkinned() && FNameField->UseSkinFont())
            FNameField->setFixedHeight(FNameField->SkinHeight());
    }
    // The boxes keep their skin's height; the layout must place them at it.
    for (TbsSkinComboBox* box : {FFolderBox, FTypeBox})
        box->setFixedHeight(box->IsSkinned() && box->Geometry().SkinRect.Height() > 0
                                ? std::min(box->Geometry().SkinRect.Height(), 25)
                                : 21);
    FMessages->SetParentWidget(this);
    FMessages->SetCtrlSkinData(FCtrlSkin);
    SetViewStyle(vsList);
    FNameField->setFocus();
}

void TbsOpenDlgForm::SetOpacity(int alpha, bool fadeIn)
{
    FAlphaTarget = std::clamp(alpha, 0, 255);
    if (!fadeIn) {
        setWindowOpacity(FAlphaTarget / 255.0);
        return;
    }
    if (!FFade) {
        FFade = new QTimer(this);
        FFade->setInterval(10);
        connect(FFade, &QTimer::timeout, this, [this] {
            FAlpha = std::min(FAlphaTarget, FAlpha + 15);
            setWindowOpacity(FAlpha / 255.0);
            if (FAlpha >= FAlphaTarget)
                FFade->stop();
        });
    }
}

void TbsOpenDlgForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FFade) {
        FAlpha = 0;
        setWindowOpacity(0.0);
        FFade->start();
    }
}

TbsOpenDlgForm::~TbsOpenDlgForm() = default;

QString TbsOpenDlgForm::Text(const char* key, const QString& builtIn) const
{
    if (FCtrlSkin && FCtrlSkin->ResourceStrData()) {
        const QString t = FCtrlSkin->ResourceStrData()->GetResStr(QString::fromLatin1(key));
        if (!t.isEmpty())
            return t;
    }
    return builtIn;
}

void TbsOpenDlgForm::BuildToolBar(QWidget* bar)
{
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 0, 0, 0);
    row->setSpacing(0);
    auto* lookIn = new TbsSkinStdLabel(bar, Text("FLV_LOOKIN", QStringLiteral("Look in: ")));
    lookIn->setObjectName(QStringLiteral("lblLookIn"));
    row->addWidget(lookIn, 0, Qt::AlignVCenter);
    FFolderBox = new TbsSkinComboBox(bar);
    FFolderBox->setObjectName(QStringLiteral("cbxFolder"));
    // A skin may draw tool bar boxes apart from the others.
    const bool toolEntry = FCtrlSkin && FCtrlSkin->IndexOfControl("toolcombobox") >= 0;
    FFolderBox->SetSkinDataName(toolEntry ? QStringLiteral("toolcombobox") : QStringLiteral("combobox"));
    FFolderBox->SetDropDownCount(10);
    row->addWidget(FFolderBox, 1, Qt::AlignVCenter);
    // Every selection clicks, the keyboard's too: each one opens its folder.
    connect(FFolderBox, &TbsSkinComboBox::Click, this, [this] {
        const int i = FFolderBox->ItemIndex();
        if (FQuiet || i < 0 || i >= FFolderPaths.size())
            return;
        if (FFolderPaths[i] != Folder())
            OpenFolder(FFolderPaths[i]);
    });
    row->addSpacing(10);
    auto addButton = [&](const char* name, int glyph, const char* hintKey, const QString& hint, int width) {
        auto* b = new TbsSkinButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->SetSkinDataName(QStringLiteral("toolbutton"));
        b->SetCanFocused(false);
        b->SetGlyph(Glyph(glyph));
        b->setToolTip(Text(hintKey, hint));
        b->resize(width, 25);
        row->addWidget(b);
        return b;
    };
    connect(addButton("btnBack", 0, "MSG_BTN_BACK_HINT", QStringLiteral("Go To Last Folder Visited"), 27),
            &TbsSkinButton::clicked, this, [this] { GoBack(); });
    connect(addButton("btnUp", 1, "MSG_BTN_UP_HINT", QStringLiteral("Up One Level"), 27), &TbsSkinButton::clicked,
            this, [this] { GoUp(); });
    connect(addButton("btnNewFolder", 2, "MSG_BTN_NEWFOLDER_HINT", QStringLiteral("Create New Folder"), 27),
            &TbsSkinButton::clicked, this, [this] { NewFolder(); });
    // The view menu: a button that stays down while its skinned menu is open.
    auto* viewButton = new TbsSkinMenuSpeedButton(bar);
    viewButton->setObjectName(QStringLiteral("btnViewMenu"));
    viewButton->SetGlyph(Glyph(3));
    viewButton->setToolTip(Text("MSG_BTN_VIEWMENU_HINT", QStringLiteral("View Menu")));
    viewButton->resize(37, 25);
    row->addWidget(viewButton);

    FViewMenu = new TbsSkinPopupMenu(viewButton);
    FViewMenu->setObjectName(QStringLiteral("ViewMenu"));
    FViewMenu->SkinData = FCtrlSkin.data();
    FViewMenu->OwnDriverWithoutFrame = true;
    const std::pair<const char*, const char*> items[] = {
        {"MSG_LV_ICON", "Large icons"}, {"MSG_LV_SMALLICON", "Small icons"},
        {"MSG_LV_LIST", "List"}, {"MSG_LV_DETAILS", "Details"}};
    for (int i = 0; i < 4; ++i) {
        // Checkable, not grouped: the current style shows a check mark.
        QAction* a = FViewMenu->addAction(Text(items[i].first, QString::fromLatin1(items[i].second)));
        a->setCheckable(true);
        a->setData(i);
        connect(a, &QAction::triggered, this, [this, i] { SetViewStyle(static_cast<TbsViewStyle>(i)); });
    }
    viewButton->SetSkinPopupMenu(FViewMenu);
}

void TbsOpenDlgForm::BuildBottom(QWidget* bottom)
{
    auto* grid = new QGridLayout(bottom);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(10);
    grid->setColumnMinimumWidth(0, 60);
    grid->setColumnMinimumWidth(2, 10);
    grid->setColumnStretch(1, 1);
    grid->setRowMinimumHeight(0, 25);
    grid->setRowMinimumHeight(1, 25);
    auto* nameLabel = new TbsSkinStdLabel(bottom, Text("MSG_FILENAME", QStringLiteral("File name:")));
    auto* typeLabel = new TbsSkinStdLabel(bottom, Text("MSG_FILETYPE", QStringLiteral("File type:")));
    FNameField = new TbsSkinEdit(bottom);
    FNameField->setObjectName(QStringLiteral("edtFileName"));
    FNameField->setFixedHeight(21);
    FNameField->installEventFilter(this);
    // From the first key the user types, the field says what the user wants.
    connect(FNameField, &QLineEdit::textEdited, this, [this] {
        FNameFromSelection = false;
        if (FTypedNote) {
            FTypedNote = false;
            ShowStatus(QString());
        }
    });
    FTypeBox = new TbsSkinComboBox(bottom);
    FTypeBox->setObjectName(QStringLiteral("cbxFileType"));
    FTypeBox->setFixedHeight(21);
    FOpen = new TbsSkinButton(bottom, FSaveMode ? Text("MSG_BTN_SAVE", QStringLiteral("&Save"))
                                                : Text("MSG_BTN_OPEN", QStringLiteral("&Open")));
    FOpen->setObjectName(QStringLiteral("btnOpen"));
    FCancel = new TbsSkinButton(bottom, Text("MSG_BTN_CANCEL", QStringLiteral("Cancel")));
    FCancel->setObjectName(QStringLiteral("btnCancel"));
    FCancel->SetModalResult(2);
    FCancel->SetCancel(true);
    for (TbsSkinButton* b : {FOpen, FCancel}) {
        b->SetCanFocused(true);
        b->resize(70, 25);
    }
    grid->addWidget(nameLabel, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(FNameField, 0, 1, Qt::AlignTop);
    grid->addWidget(FOpen, 0, 3, Qt::AlignTop);
    grid->addWidget(typeLabel, 1, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(FTypeBox, 1, 1, Qt::AlignTop);
    grid->addWidget(FCancel, 1, 3, Qt::AlignTop);
    connect(FOpen, &TbsSkinButton::clicked, this, [this] { Confirm(); });
    connect(FTypeBox, &TbsSkinComboBox::Click, this, [this] { TypeChosen(); });
}

const QString& TbsOpenDlgForm::Folder() const { return FModel->Folder(); }

bool TbsOpenDlgForm::OpenFolder(const QString& folder, bool addToHistory)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const bool changed = path != Folder();
    bool ok = false;
    {
        // The list's own selection changes while it is filled are part of
        // this one change of folder.
        QScopedValueRollback quiet(FQuiet, true);
        setCursor(Qt::WaitCursor);
        ok = FModel->SetFolder(path);
        unsetCursor();
        if (addToHistory && (FHistory.isEmpty() || FHistory.back() != path))
            FHistory << path;
        ShowStatus(ok ? QString()
                      : QStringLiteral("The folder \"%1\" cannot be read: %2.")
                            .arg(bsShortFileName(path), FModel->ErrorText()));
        UpdateFolderBox();
        if (FModel->rowCount() > 0)
            CurrentView()->setCurrentIndex(FModel->index(0, 0));
        FSelectionByUser = false;
    }
    // A name a selection put in the field was one of the folder just left.
    if (changed && FNameFromSelection) {
        FNameField->clear();
        FNameFromSelection = false;
    }
    if (changed)
        FolderChanged();
    return ok;
}

void TbsOpenDlgForm::FolderChanged()
{
    if (OnFolderChange)
        OnFolderChange(this);
}

void TbsOpenDlgForm::ShowStatus(const QString& text)
{
    FStatus->setText(text);
    FStatus->setVisible(!text.isEmpty());
}

QString TbsOpenDlgForm::StatusText() const { return FStatus->isVisible() ? FStatus->text() : QString(); }

void TbsOpenDlgForm::UpdateFolderBox()
{
    QStringList chain;
    for (QString f = Folder(); !f.isEmpty(); f = ParentOf(f)) {
        chain.prepend(f);
        if (f == QLatin1String("/"))
            break;
    }
    QScopedValueRollback quiet(FQuiet, true);
    QStringList items;
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString& f = chain[depth];
        const QString name = f == QLatin1String("/") ? f : f.mid(f.lastIndexOf(QLatin1Char('/')) + 1);
        items << QString(depth * 2, QLatin1Char(' ')) + bsDisplayFileName(name);
    }
    FFolderPaths = chain;
    // Every folder of the chain shows the folder picture.
    FFolderBox->SetImages(QList<QImage>(chain.size(), ItemIcon(true).pixmap(16, 16).toImage()));
    FFolderBox->SetItems(items);
    FFolderBox->SetItemIndex(static_cast<int>(chain.size()) - 1);
}

void TbsOpenDlgForm::GoBack()
{
    if (FHistory.size() < 2)
        return;
    FHistory.removeLast();
    OpenFolder(FHistory.back(), false);
}

void TbsOpenDlgForm::GoUp()
{
    const QString up = ParentOf(Folder());
    if (up != Folder())
        OpenFolder(up);
}

void TbsOpenDlgForm::NewFolder()
{
    const QString name = Text("MSG_NEWFOLDER", QStringLiteral("New Folder"));
    const QString path = Folder() == QLatin1String("/") ? Folder() + name : Folder() + QLatin1Char('/') + name;
    if (FolderExists(path))
        return;
    if (::mkdir(bsEncodeFileName(path).constData(), 0777) != 0) {
        ShowStatus(QStringLiteral("The folder \"%1\" could not be created: %2.")
                       .arg(bsShortFileName(path), QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    Refresh();
}

void TbsOpenDlgForm::Refresh()
{
    const bool ok = FModel->Refresh();
    ShowStatus(ok ? QString()
                  : QStringLiteral("The folder \"%1\" cannot be read: %2.")
                        .arg(bsShortFileName(Folder()), FModel->ErrorText()));
    QScopedValueRollback quiet(FQuiet, true);
    if (FModel->rowCount() > 0)
        CurrentView()->setCurrentIndex(FModel->index(0, 0));
    FSelectionByUser = false;
}

QAbstractItemView* TbsOpenDlgForm::CurrentView() const
{
    return FViewStyle == vsReport ? static_cast<QAbstractItemView*>(FDetails)
                                  : static_cast<QAbstractItemView*>(FListView);
}

void TbsOpenDlgForm::SetViewStyle(TbsViewStyle style)
{
    FViewStyle = style;
    switch (style) {
    case vsIcon:
        FListView->setViewMode(QListView::IconMode);
        FListView->setIconSize(QSize(32, 32));
        FListView->setGridSize(QSize(90, 64));
        FListView->setFlow(QListView::LeftToRight);
        FListView->setWrapping(true);
        FListView->setMovement(QListView::Static);
        break;
    case vsSmallIcon:
        FListView->setViewMode(QListView::ListMode);
        FListView->setIconSize(QSize(16, 16));
        FListView->setGridSize(QSize(160, 20));
        FListView->setFlow(QListView::LeftToRight);
        FListView->setWrapping(true);
        break;
    case vsList:
        FListView->setViewMode(QListView::ListMode);
        FListView->setIconSize(QSize(16, 16));
        // Uniform cells: a column is as wide as a long name, not as the first one.
        FListView->setGridSize(QSize(190, 20));
        FListView->setFlow(QListView::TopToBottom);
        FListView->setWrapping(true);
        break;
    case vsReport: break;
    }
    FViews->setCurrentWidget(style == vsReport ? static_cast<QWidget*>(FDetails) : FListView);
    const auto actions = FViewMenu->actions();
    for (qsizetype i = 0; i < actions.size(); ++i)
        actions[i]->setChecked(i == style);
}

void TbsOpenDlgForm::ParseFilter(const QString& filter, QStringList& descriptions, QStringList& masks)
{
    descriptions.clear();
    masks.clear();
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        descriptions << parts[i];
        masks << parts[i + 1];
    }
}

void TbsOpenDlgForm::SetFilter(const QString& filter, int index)
{
    QStringList descriptions;
    ParseFilter(filter, descriptions, FMasks);
    {
        QScopedValueRollback quiet(FQuiet, true);
        FTypeBox->SetItems(descriptions);
        const int i = index >= 0 && index < FTypeBox->count() ? index : (FTypeBox->count() > 0 ? 0 : -1);
        FTypeBox->SetItemIndex(i);
    }
    FModel->SetMask(FilterMask());
}

void TbsOpenDlgForm::TypeChosen()
{
    if (FQuiet)
        return;
    QScopedValueRollback quiet(FQuiet, true);
    FModel->SetMask(FilterMask());
    if (FModel->rowCount() > 0)
        CurrentView()->setCurrentIndex(FModel->index(0, 0));
    FSelectionByUser = false;
}

QString TbsOpenDlgForm::FilterMask() const
{
    if (FMasks.isEmpty())
        return QStringLiteral("*.*");
    const int i = FTypeBox->ItemIndex();
    return i >= 0 && i < FMasks.size() ? FMasks[i] : FMasks.back();
}

int TbsOpenDlgForm::FilterIndex() const { return FTypeBox->ItemIndex(); }

QString TbsOpenDlgForm::ListMask() const { return FModel->Mask(); }

void TbsOpenDlgForm::SetFileNameText(const QString& name)
{
    FNameField->setText(bsDisplayFileName(name));
    FNameFromSelection = false;
}

void TbsOpenDlgForm::PutNameOf(int row)
{
    if (row < 0 || row >= FModel->rowCount() || FModel->IsFolder(row))
        return;
    FNameField->setText(bsDisplayFileName(FModel->NameAt(row)));
    FNameFromSelection = true;
}

namespace {

// The list view selects single cells, the details view whole rows.
QList<int> RowsOf(const QItemSelectionModel* selection)
{
    QList<int> rows;
    for (const QModelIndex& i : selection->selectedIndexes())
        if (i.column() == 0)
            rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

int TbsOpenDlgForm::CurrentRow() const
{
    const QModelIndex current = FListView->selectionModel()->currentIndex();
    const QList<int> rows = RowsOf(FListView->selectionModel());
    if (current.isValid() && rows.contains(current.row()))
        return current.row();
    return rows.isEmpty() ? -1 : rows.front();
}

QList<int> TbsOpenDlgForm::SelectedRows() const
{
    QList<int> out;
    for (int row : RowsOf(FListView->selectionModel()))
        if (!FModel->IsFolder(row))
            out << row;
    return out;
}

void TbsOpenDlgForm::SelectionChanged()
{
    // The first item the dialog itself selects in a folder just opened is
    // only shown, not named: what the user typed stays.
    if (FQuiet)
        return;
    FSelectionByUser = true;
    PutNameOf(CurrentRow());
    FolderChanged();
}

void TbsOpenDlgForm::ActivateRow(int row, bool chooseFile)
{
    if (row < 0)
        return;
    if (FModel->IsFolder(row)) {
        OpenFolder(FModel->PathAt(row));
        return;
    }
    if (chooseFile) {
        FResult = {FModel->PathAt(row)};
        done(1);
    }
}

void TbsOpenDlgForm::Confirm()
{
    if (FSaveMode) {
        ConfirmSave();
        return;
    }
    const QString text = FNameField->text();
    const int row = CurrentRow();
    if (text.isEmpty() || FNameFromSelection) {
        // The field says nothing of the user's own: the folder the user
        // selected opens.
        if (FSelectionByUser && row >= 0 && FModel->IsFolder(row)) {
            OpenFolder(FModel->PathAt(row));
            return;
        }
        if (text.isEmpty())
            return;
    }
    if (text.contains(QLatin1Char('*'))) {
        FModel->SetMask(text);
        return;
    }
    // The selection counts only when the field names it.
    const QList<int> files = SelectedRows();
    for (int r : files) {
        if (text != bsDisplayFileName(FModel->NameAt(r)))
            continue;
        QStringList chosen;
        for (int f : files)
            chosen << FModel->PathAt(f);
        Choose(chosen);
        return;
    }
    const QString path = TypedPath(text);
    if (FolderExists(path)) {
        OpenFolder(path);
        FNameField->clear();
        FNameFromSelection = false;
        return;
    }
    if (FileExists(path) || !FCheckFileExists) {
        FResult = {path};
        done(1);
        return;
    }
    ShowStatus(QStringLiteral("There is no file or folder \"%1\".").arg(bsShortFileName(path)));
    FTypedNote = true;
}

void TbsOpenDlgForm::Choose(const QStringList& chosen)
{
    if (FCheckFileExists) {
        for (const QString& f : chosen) {
            if (!FileExists(f)) {
                FResult.clear();
                ShowStatus(QStringLiteral("The file \"%1\" no longer exists.").arg(bsShortFileName(f)));
                return;
            }
        }
    }
    FResult = chosen;
    done(1);
}

QString TbsOpenDlgForm::TypedPath(const QString& text) const
{
    if (QDir::isAbsolutePath(text))
        return QDir::cleanPath(text);
    return QDir::cleanPath(Folder() == QLatin1String("/") ? Folder() + text : Folder() + QLatin1Char('/') + text);
}

void TbsOpenDlgForm::ConfirmSave()
{
    const QString typed = FNameField->text();
    if (typed.isEmpty()) {
        const int row = CurrentRow();
        if (FSelectionByUser && row >= 0 && FModel->IsFolder(row))
            OpenFolder(FModel->PathAt(row));
        return;
    }
    if (typed.contains(QLatin1Char('*')))
        return;
    const QString path = QDir::isAbsolutePath(typed)            ? QDir::cleanPath(typed)
                         : Folder() == QLatin1String("/")      ? Folder() + typed
                                                                : Folder() + QLatin1Char('/') + typed;
    const QString problem = SaveProblem(path);
    if (!problem.isEmpty()) {
        ShowStatus(problem);
        return;
    }
    // A folder's name opens the folder rather than naming the file.
    if (FolderExists(path)) {
        OpenFolder(QDir::cleanPath(path));
        FNameField->clear();
        return;
    }
    FResult = {path};
    done(1);
}

QString TbsOpenDlgForm::SaveProblem(const QString& path) const
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    const QString folder = slash <= 0 ? QStringLiteral("/") : path.left(slash);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" is not a file name.").arg(bsShortFileName(FNameField->text()));
    if (bsEncodeFileName(name).size() > NAME_MAX || bsEncodeFileName(path).size() >= PATH_MAX)
        return QStringLiteral("The name \"%1\" is too long.").arg(bsShortFileName(path));
    if (!FolderExists(folder))
        return QStringLiteral("The folder \"%1\" does not exist.").arg(bsShortFileName(folder));
    return {};
}

void TbsOpenDlgForm::ShowProperties()
{
    const int row = CurrentRow();
    if (row < 0)
        return;
    const QString path = FModel->PathAt(row);
    struct stat st {};
    QString text;
    if (::stat(bsEncodeFileName(path).constData(), &st) != 0) {
        text = QStringLiteral("\"%1\" cannot be examined: %2.")
                   .arg(bsShortFileName(path), QString::fromLocal8Bit(std::strerror(errno)));
        FMessages->MessageDlg(text, mtError, {mbOK}, 0);
        return;
    }
    const bool folder = S_ISDIR(st.st_mode);
    const QString modified = QLocale().toString(QDateTime::fromSecsSinceEpoch(st.st_mtime), QLocale::ShortFormat);
    text = QStringLiteral("Name: %1\nLocation: %2\nType: %3\n")
               .arg(bsShortFileName(FModel->NameAt(row)), bsShortFileName(Folder()),
                    folder ? QStringLiteral("Folder") : QStringLiteral("File"));
    if (!folder)
        text += QStringLiteral("Size: %1 bytes\n").arg(static_cast<qint64>(st.st_size));
    text += QStringLiteral("Modified: %1\nPermissions: %2").arg(modified).arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
    FMessages->MessageDlg(text, mtInformation, {mbOK}, 0);
}

bool TbsOpenDlgForm::SelectName(const QString& name)
{
    for (int row = 0; row < FModel->TotalCount(); ++row) {
        if (FModel->NameAt(row) != name)
            continue;
        while (row >= FModel->rowCount() && FModel->canFetchMore({}))
            FModel->fetchMore({});
        const QModelIndex index = FModel->index(row, 0);
        CurrentView()->setCurrentIndex(index);
        CurrentView()->scrollTo(index);
        // Also when it was selected already.
        FSelectionByUser = true;
        PutNameOf(row);
        return true;
    }
    return false;
}

void TbsOpenDlgForm::NameFieldEnter()
{
    // A mask narrows the list, a folder opens, a file is chosen: all as the
    // confirm button does (in save mode too).
    if (FNameField->text().contains(QLatin1Char('*'))) {
        FModel->SetMask(FNameField->text());
        return;
    }
    Confirm();
}

bool TbsOpenDlgForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == FNameField) {
        if (enter) {
            NameFieldEnter();
            return true;
        }
        return false;
    }
    if (watched == FListView || watched == FDetails) {
        if (enter && (key->modifiers() & Qt::AltModifier)) {
            ShowProperties();
            return true;
        }
        if (enter) {
            // Enter in the list means the item it shows selected.
            const int row = CurrentRow();
            if (row >= 0 && FModel->IsFolder(row)) {
                OpenFolder(FModel->PathAt(row));
            } else if (row >= 0) {
                PutNameOf(row);
                Confirm();
            }
            return true;
        }
        if (key->key() == Qt::Key_Backspace) {
            GoUp();
            return true;
        }
        if (key->key() == Qt::Key_F5) {
            Refresh();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TbsOpenDlgForm::keyPressEvent(QKeyEvent* event)
{
    // Escape presses the Cancel button and Enter is the list's and the name
    // field's (the dialog has no Default button); what no control took does
    // nothing, whatever the framework's dialogs would do with it.
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

}  // namespace rasp
