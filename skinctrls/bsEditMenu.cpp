#include "skinctrls/bsEditMenu.h"

#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinClient.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <memory>

namespace rasp {

std::vector<TbsEditMenuItem> bsEditMenuItems(const TbsEditMenuState& s, const TbsResourceStrData* texts)
{
    auto caption = [texts](const char* key, const char* builtIn) {
        const QString own = texts ? texts->GetResStr(QString::fromLatin1(key)) : QString();
        return own.isEmpty() ? QString::fromLatin1(builtIn) : own;
    };
    const bool writable = !s.ReadOnly;
    return {
        {ecUndo, caption("EDIT_UNDO", "Undo"), s.CanUndo && writable},
        {ecNone, QStringLiteral("-"), false},
        {ecCut, caption("EDIT_CUT", "Cut"), s.HasSelection && writable},
        {ecCopy, caption("EDIT_COPY", "Copy"), s.HasSelection},
        {ecPaste, caption("EDIT_PASTE", "Paste"), s.ClipboardHasText && writable},
        {ecDelete, caption("EDIT_DELETE", "Delete"), s.HasSelection && writable},
        {ecNone, QStringLiteral("-"), false},
        {ecSelectAll, caption("EDIT_SELECTALL", "Select All"), !s.AllSelected},
    };
}

TbsEditMenuState bsEditMenuState(const QLineEdit& edit, bool readOnly)
{
    TbsEditMenuState s;
    s.CanUndo = edit.isUndoAvailable();
    s.HasSelection = edit.hasSelectedText();
    s.AllSelected = edit.selectedText().size() == edit.text().size() &&
                    (edit.text().isEmpty() || s.HasSelection);
    const QClipboard* clipboard = QGuiApplication::clipboard();
    s.ClipboardHasText = clipboard && !clipboard->text().isEmpty();
    s.ReadOnly = readOnly;
    return s;
}

void bsRunEditCommand(QLineEdit& edit, TbsEditCommand command)
{
    switch (command) {
    case ecUndo: edit.undo(); break;
    case ecCut: edit.cut(); break;
    case ecCopy: edit.copy(); break;
    case ecPaste: edit.paste(); break;
    case ecDelete: edit.del(); break;
    case ecSelectAll: edit.selectAll(); break;
    case ecNone: break;
    }
}

void bsPopupEditMenu(QLineEdit* edit, QPoint globalPos, int readOnly)
{
    if (!edit)
        return;
    const bool locked = readOnly < 0 ? edit->isReadOnly() : readOnly != 0;
    const TbsResourceStrData* texts = nullptr;
    if (auto* client = dynamic_cast<TbsSkinClient*>(edit); client && client->SkinData())
        texts = client->SkinData()->ResourceStrData();
    const auto items = bsEditMenuItems(bsEditMenuState(*edit, locked), texts);

    // The menu belongs to no widget, so freeing the edit from inside a
    // command cannot free the menu while it runs; the command itself only
    // reaches the edit through a guard.
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(QStringLiteral("bsEditMenu"));
    const QPointer<QLineEdit> guard(edit);
    for (const TbsEditMenuItem& item : items) {
        if (item.Command == ecNone) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.Caption);
        action->setEnabled(item.Enabled);
        const TbsEditCommand command = item.Command;
        QObject::connect(action, &QAction::triggered, menu.get(), [guard, command] {
            if (guard)
                bsRunEditCommand(*guard, command);
        });
    }
    menu->exec(globalPos);
}

}  // namespace rasp
