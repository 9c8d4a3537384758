#pragma once
// The file-open dialog of the Import command, on Qt's own (non-native) file
// dialog until the skinned one exists: the same properties and the same one
// operation, ShowOpenDialog.

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

namespace rasp {

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
    // name; after a successful run the chosen file's full path.
    QString FileName;
    QString InitialDir;  // starting folder when FileName has no folder part
    bool CheckFileExists = true;
    bool MultiSelection = false;
    // Every chosen file after a successful run (one unless MultiSelection).
    QStringList Files;

    // Runs the dialog modally; true when a file was chosen.
    bool ShowOpenDialog();

    // The filter in Qt's form: "All files|*.*" gives "All files (*)"; a
    // "*.*" mask means every file, with or without an extension.
    static QStringList NameFilters(const QString& filter);
};

}  // namespace rasp
