#include "skinctrls/TbsDialogKeys.h"

#include "skinctrls/TbsSkinButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace rasp {

TbsDialogKeys::TbsDialogKeys(QWidget* form) : QObject(form), FForm(form)
{
    setObjectName(QStringLiteral("TbsDialogKeys"));
    form->installEventFilter(this);
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        connect(app, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            // Only a move inside this form counts; the form going inactive or a
            // popup taking the keys leaves the form's own focus where it was.
            if (now && FForm && now->window() == FForm)
                FocusChanged(now);
        });
    }
}

TbsDialogKeys* TbsDialogKeys::Of(QWidget* form)
{
    if (!form)
        return nullptr;
    if (auto* keys = form->findChild<TbsDialogKeys*>(QString(), Qt::FindDirectChildrenOnly))
        return keys;
    return new TbsDialogKeys(form);
}

QList<TbsSkinButton*> TbsDialogKeys::Buttons() const
{
    QList<TbsSkinButton*> out;
    if (!FForm)
        return out;
    for (TbsSkinButton* b : FForm->findChildren<TbsSkinButton*>())
        if (b->window() == FForm)
            out << b;
    return out;
}

void TbsDialogKeys::FocusChanged(QWidget* now)
{
    for (TbsSkinButton* b : Buttons())
        b->FormFocusChanged(now);
}

bool TbsDialogKeys::DialogKey(const QKeyEvent& key)
{
    // The first taker ends the search: its press may close or rebuild the form.
    for (TbsSkinButton* b : Buttons())
        if (b->DialogKey(key))
            return true;
    return false;
}

bool TbsDialogKeys::eventFilter(QObject* watched, QEvent* event)
{
    // Key presses reach the form only when the focused control did not take
    // them: an edit passes Enter on, a multi-line pane keeps it.
    if (watched == FForm && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const int k = key.key();
        if ((k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape) && DialogKey(key)) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace rasp
