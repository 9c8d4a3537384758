#include "skinctrls/TbsSkinOpenDialog.h"

#include "skin/bsSkinData.h"
#include "skinctrls/TbsOpenDlgForm.h"
#include "skinctrls/bsFileNames.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <sys/stat.h>

namespace rasp {

namespace {

bool IsFolder(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(bsEncodeFileName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

TbsSkinOpenDialog::TbsSkinOpenDialog(QObject* owner) : QObject(owner) {}

void TbsSkinOpenDialog::SetCtrlSkinData(TbsSkinData* skin) { FCtrlSkin = skin; }

TbsSkinData* TbsSkinOpenDialog::CtrlSkinData() const { return static_cast<TbsSkinData*>(FCtrlSkin.data()); }

bool TbsSkinOpenDialog::ShowOpenDialog()
{
    // The form is freed on every way out, unless its parent took it along.
    QPointer<TbsOpenDlgForm> form(
        new TbsOpenDlgForm(qobject_cast<QWidget*>(parent()), CtrlSkinData(), CheckFileExists, MultiSelection));
    struct TFree {
        QPointer<TbsOpenDlgForm>& Form;
        ~TFree() { delete Form.data(); }
    } freeForm{form};
    form->setWindowTitle(Title);
    form->SetViewStyle(static_cast<TbsViewStyle>(std::clamp(ViewStyle, 0, 3)));

    // Starting folder: FileName's, else InitialDir, else the program's.
    QString folder, name = FileName;
    const qsizetype slash = FileName.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        folder = slash == 0 ? QStringLiteral("/") : FileName.left(slash);
        name = FileName.mid(slash + 1);
    }
    if (!IsFolder(folder))
        folder = IsFolder(InitialDir) ? InitialDir : QCoreApplication::applicationDirPath();
    form->SetFilter(Filter, FilterIndex - 1);
    form->OpenFolder(folder);
    form->SetFileNameText(name);

    form->resize(DialogWidth > 0 ? DialogWidth : 450, DialogHeight > 0 ? DialogHeight : 290);
    const QWidget* owner = qobject_cast<QWidget*>(parent());
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        form->move(screen->availableGeometry().center() - QPoint(form->width() / 2, form->height() / 2));

    const QPointer<TbsSkinOpenDialog> self(this);
    QTimer::singleShot(0, form, [this, self, form] {
        if (self && form)
            emit Shown(form);
    });
    const int result = form->exec();
    // The owner may have gone while the dialog ran its own event loop.
    if (!form || !self)
        return false;
    FilterIndex = form->FilterIndex() + 1;
    if (FilterIndex < 1)
        FilterIndex = 1;
    DialogWidth = form->Client()->width();
    DialogHeight = form->Client()->height();
    ViewStyle = form->ViewStyle();
    if (result != 1 || form->Result().isEmpty())
        return false;
    Files = form->Result();
    FileName = Files.front();
    return true;
}

}  // namespace rasp
