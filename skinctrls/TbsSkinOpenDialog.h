#pragma once
// The file-open dialog of the Import command: a skinned window with a folder
// tool bar, the file list in four views, a name field and a type box, built
// afresh for every ShowOpenDialog. The component keeps the filter index, the
// dialog size, the view style and the file name between calls.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

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
    // The smallest the dialog window may become; 0: only what its frame and
    // controls need.
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    // Translucency of the dialog window (255 is opaque); the animation fades
    // it in when it shows.
    bool AlphaBlend = false;
    int AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    // The same for the lists the boxes drop down and for the frame's menus.
    bool CtrlAlphaBlend = false;
    int CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    // Save mode: the confirm button says "Save" and takes a typed name; the
    // type's extension is added to a name without it.
    bool SaveMode = false;
    // Called after every change of the dialog's folder and of the list's
    // selection, with the dialog's window.
    std::function<void(TbsOpenDlgForm*)> OnFolderChange;
    int ViewStyle = 2;  // list; remembered between calls
    // Every chosen file after a successful run (one unless MultiSelection).
    QStringList Files;

    void SetCtrlSkinData(TbsSkinData* skin);
    TbsSkinData* CtrlSkinData() const;
    // The skin of the dialog's frame. None: the frame of the owner's skin
    // when the owner window has one, else the window system's frame.
    void SetSkinData(TbsSkinData* skin);
    TbsSkinData* SkinData() const;

    // Runs the dialog modally; true when a file was chosen.
    bool ShowOpenDialog();

signals:
    // The form is up (tests and screenshots drive it from here).
    void Shown(rasp::TbsOpenDlgForm* form);

private:
    void FrameTheForm(TbsOpenDlgForm& form);

    QPointer<QObject> FCtrlSkin;
    QPointer<QObject> FSkin;
};

}  // namespace rasp
