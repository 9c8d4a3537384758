#pragma once
// The window of the open dialog: a folder tool bar (look-in box, back, up,
// new folder, view menu), the file list in one of four views, the name field
// and type box, and Open and Cancel. Everything lives in one client widget
// so that a frame can be put around it.

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QAbstractItemView;
class QListView;
class QStackedWidget;
class QTreeView;
class QModelIndex;
class TbsSkinData;
class TbsSkinPopupMenu;

namespace rasp {

class TbsFileListModel;
class TbsSkinButton;
class TbsSkinEdit;
class TbsSkinStdLabel;

enum TbsViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TbsOpenDlgForm : public QDialog {
    Q_OBJECT
public:
    TbsOpenDlgForm(QWidget* parent, TbsSkinData* ctrlSkin, bool checkFileExists, bool multiSelection);
    ~TbsOpenDlgForm() override;

    QWidget* Client() const { return FClient; }

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
    void SetFileNameText(const QString& name);

    // The chosen files once the dialog closed with 1.
    const QStringList& Result() const { return FResult; }
    // The note shown instead of the list (an unreadable folder), or empty.
    QString StatusText() const;

    // The confirm button.
    void Confirm();
    // Selects the item of that name (as a click would); false when it is not listed.
    bool SelectName(const QString& name);

    // The descriptions and masks of a filter: "Text|*.txt|All|*.*".
    static void ParseFilter(const QString& filter, QStringList& descriptions, QStringList& masks);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString Text(const char* key, const QString& builtIn) const;
    void BuildToolBar(QWidget* bar);
    void BuildBottom(QWidget* bottom);
    void UpdateFolderBox();
    void ActivateRow(int row, bool chooseFile);
    void SelectionChanged();
    int CurrentRow() const;
    QList<int> SelectedRows() const;
    void NameFieldEnter();
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
    QComboBox* FFolderBox;
    TbsSkinEdit* FNameField;
    QComboBox* FTypeBox;
    TbsSkinButton* FOpen;
    TbsSkinButton* FCancel;
    TbsSkinPopupMenu* FViewMenu;
    QStringList FMasks;
    QStringList FHistory;
    QStringList FResult;
    TbsViewStyle FViewStyle = vsList;
};

}  // namespace rasp
