#pragma once
// The window of the open dialog: a folder tool bar (look-in box, back, up,
// new folder, view menu), the file list in one of four views, the name field
// and type box, and Open and Cancel. Everything lives in one client widget
// so that a frame can be put around it.

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QAbstractItemView;
class QListView;
class QStackedWidget;
class QTreeView;
class QModelIndex;
class QTimer;
class TbsSkinData;
class TbsSkinPopupMenu;

namespace rasp {

class TbsFileListModel;
class TbsSkinButton;
class TbsSkinComboBox;
class TbsSkinMessage;
class TbsSkinEdit;
class TbsSkinStdLabel;

enum TbsViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TbsOpenDlgForm : public QDialog {
    Q_OBJECT
public:
    TbsOpenDlgForm(QWidget* parent, TbsSkinData* ctrlSkin, bool checkFileExists, bool multiSelection,
                   bool saveMode = false);
    ~TbsOpenDlgForm() override;

    QWidget* Client() const { return FClient; }
    bool SaveMode() const { return FSaveMode; }

    // Called after every change of folder and of the list's selection.
    std::function<void(TbsOpenDlgForm*)> OnFolderChange;
    // Speaks to the user (the properties of an item, a name that cannot be
    // saved); tests answer it through its hook.
    TbsSkinMessage* Messages() const { return FMessages; }

    // Opens a folder; false (and a note in the list) when it cannot be read.
    bool OpenFolder(const QString& folder, bool addToHistory = true);
    const QString& Folder() const;
    const QStringList& History() const { return FHistory; }
    void GoBack();
    void GoUp();
    void NewFolder();
    void Refresh();

    void SetViewStyle(TbsViewStyle style);
    TbsViewStyle ViewStyle() const { return FViewStyle; }
    void SetFilter(const QString& filter, int index);
    int FilterIndex() const;
    // The mask the list shows now (the type box's, or one typed).
    QString ListMask() const;
    // The type box's mask ("*.*" when it has no items).
    QString FilterMask() const;
    // The folders the look-in box lists, top level first.
    const QStringList& FolderBoxPaths() const { return FFolderPaths; }
    void SetFileNameText(const QString& name);

    // The chosen files once the dialog closed with 1.
    const QStringList& Result() const { return FResult; }
    // The note shown instead of the list (an unreadable folder), or empty.
    QString StatusText() const;

    // The confirm button.
    void Confirm();
    // Alt+Enter: the properties of the list's present item.
    void ShowProperties();
    // Translucency of the window without a skinned frame (which has its
    // own); with `fadeIn` it rises from clear to `alpha` when shown.
    void SetOpacity(int alpha, bool fadeIn);
    // Selects the item of that name (as a click would); false when it is not listed.
    bool SelectName(const QString& name);

    // The descriptions and masks of a filter: "Text|*.txt|All|*.*".
    static void ParseFilter(const QString& filter, QStringList& descriptions, QStringList& masks);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QString Text(const char* key, const QString& builtIn) const;
    void BuildToolBar(QWidget* bar);
    void BuildBottom(QWidget* bottom);
    void UpdateFolderBox();
    void ActivateRow(int row, bool chooseFile);
    void SelectionChanged();
    void FolderChanged();
    void TypeChosen();
    int CurrentRow() const;
    QList<int> SelectedRows() const;
    void NameFieldEnter();
    // Puts the name of a file row into the name field, as a selection does.
    void PutNameOf(int row);
    // Closes with these files, when they still exist (as CheckFileExists asks).
    void Choose(const QStringList& chosen);
    // A typed name as a full path: absolute, or in the present folder.
    QString TypedPath(const QString& text) const;
    void ConfirmSave();
    // Why a path cannot be saved to, or empty.
    QString SaveProblem(const QString& path) const;
    void ShowStatus(const QString& text);
    QAbstractItemView* CurrentView() const;

    QPointer<TbsSkinData> FCtrlSkin;
    bool FCheckFileExists;
    QWidget* FClient;
    TbsFileListModel* FModel;
    QStackedWidget* FViews;
    QListView* FListView;
    QTreeView* FDetails;
    QLabel* FStatus;
    TbsSkinComboBox* FFolderBox;
    TbsSkinEdit* FNameField;
    TbsSkinComboBox* FTypeBox;
    TbsSkinMessage* FMessages;
    TbsSkinButton* FOpen;
    TbsSkinButton* FCancel;
    TbsSkinPopupMenu* FViewMenu;
    bool FSaveMode;
    // Set while the dialog fills its boxes or the list itself: no notifications.
    bool FQuiet = false;
    // The field holds the name a selection put there, not one typed since.
    bool FNameFromSelection = false;
    // The user chose the selected item (the first item of a folder just
    // opened is selected by the dialog, and Open does not go into it).
    bool FSelectionByUser = false;
    // The note shown is about the typed name; typing again takes it away.
    bool FTypedNote = false;
    QStringList FFolderPaths;
    QStringList FMasks;
    QTimer* FFade = nullptr;
    int FAlpha = 255, FAlphaTarget = 255;
    QStringList FHistory;
    QStringList FResult;
    TbsViewStyle FViewStyle = vsList;
};

}  // namespace rasp
