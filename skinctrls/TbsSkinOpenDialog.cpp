#include "skinctrls/TbsSkinOpenDialog.h"

#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"
#include "skinctrls/TbsOpenDlgForm.h"
#include "skinctrls/TbsSkinMessage.h"
#include "skinctrls/TbsSkinComboBox.h"
#include "skin/bsSkinMenu.h"
#include "skinctrls/bsFileNames.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QRegularExpression>
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

void TbsSkinOpenDialog::SetSkinData(TbsSkinData* skin) { FSkin = skin; }

TbsSkinData* TbsSkinOpenDialog::SkinData() const { return static_cast<TbsSkinData*>(FSkin.data()); }

void TbsSkinOpenDialog::FrameTheForm(TbsOpenDlgForm& form)
{
    TbsSkinForm* frame = nullptr;
    if (SkinData()) {
        frame = new TbsSkinForm(&form);
        frame->SetBorderIcons(biSystemMenu);
        frame->SetMenusSkinData(CtrlSkinData());
    } else {
        // Framed now rather than when first shown, so that the limits below
        // apply to the frame the dialog will have.
        frame = bsAttachSkinFrame(&form, parent());
    }
    const int alpha = std::clamp(AlphaBlendValue, 0, 255);
    const int ctrlAlpha = std::clamp(CtrlAlphaBlendValue, 0, 255);
    for (TbsSkinComboBox* box : form.findChildren<TbsSkinComboBox*>()) {
        box->AlphaBlend = CtrlAlphaBlend;
        box->AlphaBlendValue = ctrlAlpha;
        box->AlphaBlendAnimation = CtrlAlphaBlendAnimation;
    }
    if (frame && frame->SkinMenuDriver()) {
        frame->SkinMenuDriver()->AlphaBlend = CtrlAlphaBlend;
        frame->SkinMenuDriver()->AlphaBlendValue = ctrlAlpha;
        frame->SkinMenuDriver()->AlphaBlendAnimation = CtrlAlphaBlendAnimation;
    }
    if (frame) {
        frame->Limits.MinWidth = std::max(0, DialogMinWidth);
        frame->Limits.MinHeight = std::max(0, DialogMinHeight);
        frame->AlphaBlend = AlphaBlend;
        frame->AlphaBlendValue = alpha;
        frame->AlphaBlendAnimation = AlphaBlendAnimation;
        frame->SetSkinData(SkinData() ? SkinData() : frame->SkinData());  // applies the limits
        if (frame->SkinData()) {
            form.Messages()->SetSkinData(frame->SkinData());
            form.Messages()->SetCtrlSkinData(CtrlSkinData());
        }
        return;
    }
    form.setMinimumSize(form.minimumSize().expandedTo(QSize(DialogMinWidth, DialogMinHeight)));
    if (AlphaBlend || AlphaBlendAnimation)
        form.SetOpacity(AlphaBlend ? alpha : 255, AlphaBlendAnimation);
}

namespace {

// The extension of the first pattern of a mask (".txt" of "*.txt;*.log"),
// empty when it has none or is a wildcard.
QString MaskExtension(const QString& mask)
{
    const QString first = mask.section(QRegularExpression(QStringLiteral("[;|]")), 0, 0).trimmed();
    const qsizetype dot = first.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    const QString ext = first.mid(dot);
    return ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')) || ext.size() < 2 ? QString() : ext;
}

QString ExtensionOf(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? QString() : name.mid(dot);
}

}  // namespace

bool TbsSkinOpenDialog::ShowOpenDialog()
{
    // The form is freed on every way out, unless its parent took it along.
    QPointer<TbsOpenDlgForm> form(
        new TbsOpenDlgForm(qobject_cast<QWidget*>(parent()), CtrlSkinData(), CheckFileExists, MultiSelection,
                           SaveMode));
    struct TFree {
        QPointer<TbsOpenDlgForm>& Form;
        ~TFree() { delete Form.data(); }
    } freeForm{form};
    form->setWindowTitle(Title);
    form->OnFolderChange = [this, self = QPointer<TbsSkinOpenDialog>(this)](TbsOpenDlgForm* f) {
        if (self && OnFolderChange)
            OnFolderChange(f);
    };
    FrameTheForm(*form);
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

    // The sizes are the client's; a frame adds its own borders.
    const QSize client(DialogWidth > 0 ? DialogWidth : 450, DialogHeight > 0 ? DialogHeight : 290);
    const QMargins around = form->layout() ? form->layout()->contentsMargins() : QMargins();
    form->resize(client.grownBy(around).expandedTo(form->minimumSize()));
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
    if (SaveMode) {
        // A name saved under a type gets the type's extension.
        const QString mask = form->FilterMask();
        const QString ext = MaskExtension(mask);
        if (!mask.contains(QLatin1String(".*")) && !ext.isEmpty() &&
            ExtensionOf(Files.front()).compare(ext, Qt::CaseInsensitive) != 0)
            Files.front() += ext;
    }
    FileName = Files.front();
    return true;
}

}  // namespace rasp
