#pragma once
// The file-open dialog of the Import command: a skinned window with a folder
// tool bar, the file list in four views, a name field and a type box, built
// afresh for every ShowOpenDialog. The component keeps the filter index, the
// dialog size, the view style and the file name between calls.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;
class TbsSkinData;

namespace rasp {

class TbsOpenDlgForm;

class TbsSkinOpenDialog : public QObject {
    Q_OBJECT
public:
    // A widget owner is also the window the dialog is modal to.
    explicit TbsSkinOpenDialog(QObject* owner = nullptr);

    QString Title = QStringLiteral("Open file");
    // Pairs of a description and masks, all separated by "|".
    QString Filter = QStringLiteral("All files|*.*");
    int FilterIndex = 1;  // 1-based; updated when the dialog closes
    // On entry its folder is the starting folder and its name the proposed
    // name; after a successful run the chosen file's full path. Bytes of a
    // name that are not valid text are carried as bsFileNames.h describes.
    QString FileName;
    QString InitialDir;  // starting folder when FileName has no folder part
    bool CheckFileExists = true;
    bool MultiSelection = false;
    // Client size; 0 means 450 by 290. Updated when the dialog closes.
    int DialogWidth = 0;
    int DialogHeight = 0;
    int ViewStyle = 2;  // list; remembered between calls
    // Every chosen file after a successful run (one unless MultiSelection).
    QStringList Files;

    void SetCtrlSkinData(TbsSkinData* skin);
    TbsSkinData* CtrlSkinData() const;

    // Runs the dialog modally; true when a file was chosen.
    bool ShowOpenDialog();

signals:
    // The form is up (tests and screenshots drive it from here).
    void Shown(rasp::TbsOpenDlgForm* form);

private:
    QPointer<QObject> FCtrlSkin;
};

}  // namespace rasp
