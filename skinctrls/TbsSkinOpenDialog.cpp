#include "skinctrls/TbsSkinOpenDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace rasp {

namespace {

// The dialog belongs to its parent window while it runs, and the parent may
// be destroyed from within the dialog's event loop: hold it weakly and free
// it on every way out of the call, unless the parent already did.
class TDialogHolder {
public:
    explicit TDialogHolder(QFileDialog* dialog) : FDialog(dialog) {}
    ~TDialogHolder() { delete FDialog.data(); }
    TDialogHolder(const TDialogHolder&) = delete;
    TDialogHolder& operator=(const TDialogHolder&) = delete;
    QFileDialog* operator->() const { return FDialog.data(); }
    explicit operator bool() const { return !FDialog.isNull(); }

private:
    QPointer<QFileDialog> FDialog;
};

}  // namespace

TbsSkinOpenDialog::TbsSkinOpenDialog(QObject* owner) : QObject(owner) {}

QStringList TbsSkinOpenDialog::NameFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& mask : masks) {
            mask = mask.trimmed();
            if (mask == "*.*") mask = "*";
        }
        result << QString("%1 (%2)").arg(parts[i], masks.join(' '));
    }
    if (result.isEmpty()) result << QStringLiteral("All files (*)");
    return result;
}

bool TbsSkinOpenDialog::ShowOpenDialog() {
    TDialogHolder dialog(new QFileDialog(qobject_cast<QWidget*>(parent()), Title));
    dialog->setObjectName(QStringLiteral("TbsOpenDlgForm"));
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(!CheckFileExists ? QFileDialog::AnyFile
                        : MultiSelection ? QFileDialog::ExistingFiles
                                         : QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(Filter);
    dialog->setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size()) dialog->selectNameFilter(filters[FilterIndex - 1]);

    const QFileInfo proposed(FileName);
    if (!FileName.isEmpty() && FileName.contains('/')) {
        dialog->setDirectory(proposed.absolutePath());
        dialog->selectFile(proposed.fileName());
    } else {
        if (!InitialDir.isEmpty()) dialog->setDirectory(InitialDir);
        if (!FileName.isEmpty()) dialog->selectFile(FileName);
    }

    const QPointer<TbsSkinOpenDialog> self(this);
    const bool chosen = dialog->exec() == QDialog::Accepted;
    // The owner may have gone while the dialog ran its own event loop.
    if (!dialog || !self) return false;
    const QStringList selected = dialog->selectedFiles();
    FilterIndex = static_cast<int>(filters.indexOf(dialog->selectedNameFilter())) + 1;
    if (FilterIndex < 1) FilterIndex = 1;
    if (!chosen || selected.isEmpty()) return false;
    Files.clear();
    for (const QString& file : selected) Files << QFileInfo(file).absoluteFilePath();
    FileName = Files.front();
    return true;
}

}  // namespace rasp
