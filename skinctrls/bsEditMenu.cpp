#include "skinctrls/bsEditMenu.h"

#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsSkinClient.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>

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

const char* bsEditCommandName(TbsEditCommand command)
{
    switch (command) {
    case ecUndo: return "EDIT_UNDO";
    case ecCut: return "EDIT_CUT";
    case ecCopy: return "EDIT_COPY";
    case ecPaste: return "EDIT_PASTE";
    case ecDelete: return "EDIT_DELETE";
    case ecSelectAll: return "EDIT_SELECTALL";
    case ecNone: break;
    }
    return "";
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

TbsSkinData* bsEditMenuSkin(const QLineEdit& edit)
{
    if (TbsSkinMenuHost* host = bsFindSkinMenuHost(edit.window()); host && host->FormSkin())
        return host->FormSkin();
    for (const QWidget* w = &edit; w; w = w->parentWidget()) {
        if (auto* client = dynamic_cast<const TbsSkinClient*>(w); client && client->SkinData())
            return client->SkinData();
        if (w->isWindow())
            break;
    }
    return nullptr;
}

namespace {

// The edit's menu frees itself once the driver reports to the edit that its
// command ran or that the menus closed: the edit owns it only meanwhile.
class TbsEditPopupMenu : public TbsSkinPopupMenu {
public:
    explicit TbsEditPopupMenu(QLineEdit* edit) : TbsSkinPopupMenu(edit), FEdit(edit)
    {
        setObjectName(QStringLiteral("bsEditMenu"));
        OwnDriverWithoutFrame = true;
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A report still on its way from an earlier menu of the edit finds
        // this one open and leaves it alone.
        if (watched == FEdit && !FDone && !Showing() &&
            (event->type() == QEvent::Type(SKN_MENUCOMMANDDONE) || event->type() == QEvent::Type(SKN_MENUCLOSED))) {
            FDone = true;
            deleteLater();
        }
        return TbsSkinPopupMenu::eventFilter(watched, event);
    }

private:
    QPointer<QLineEdit> FEdit;
    bool FDone = false;
};

}  // namespace

TbsSkinPopupMenu* bsEditMenuOf(const QLineEdit& edit)
{
    auto* menu = edit.findChild<TbsSkinPopupMenu*>(QStringLiteral("bsEditMenu"), Qt::FindDirectChildrenOnly);
    return menu;
}

TbsSkinPopupMenu* bsPopupEditMenu(QLineEdit* edit, QPoint globalPos, int readOnly)
{
    if (!edit)
        return nullptr;
    // Every request builds a new menu; an older one still about goes first.
    while (TbsSkinPopupMenu* old = bsEditMenuOf(*edit))
        delete old;

    const bool locked = readOnly < 0 ? edit->isReadOnly() : readOnly != 0;
    TbsSkinData* skin = bsEditMenuSkin(*edit);
    const auto items = bsEditMenuItems(bsEditMenuState(*edit, locked), skin ? skin->ResourceStrData() : nullptr);

    auto* menu = new TbsEditPopupMenu(edit);
    // Without a skinned frame the menu still wears the edit's skin.
    if (!bsFindSkinMenuHost(edit->window()))
        menu->SkinData = skin;
    const QPointer<QLineEdit> guard(edit);
    for (const TbsEditMenuItem& item : items) {
        if (item.Command == ecNone) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.Caption);
        action->setObjectName(QString::fromLatin1(bsEditCommandName(item.Command)));
        action->setEnabled(item.Enabled);
        const TbsEditCommand command = item.Command;
        // The command may free the edit, and with it this menu: it reaches the
        // edit only through the guard and touches nothing afterwards.
        QObject::connect(action, &QAction::triggered, edit, [guard, command] {
            if (guard)
                bsRunEditCommand(*guard, command);
        });
    }
    menu->PopupFor(edit, QRect(globalPos, QSize(0, 0)));
    return menu;
}

}  // namespace rasp
