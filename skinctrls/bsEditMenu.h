#pragma once
// The context menu of the one-line edits: Undo, Cut, Copy, Paste, Delete and
// Select All, each enabled only when it can do something. Every request
// builds a fresh skinned popup menu owned by the edit; it is freed once its
// command ran or it closed, or with the edit.

#include <QPoint>
#include <QString>
#include <vector>

class QLineEdit;
class TbsResourceStrData;
class TbsSkinData;
class TbsSkinPopupMenu;

namespace rasp {

enum TbsEditCommand { ecNone, ecUndo, ecCut, ecCopy, ecPaste, ecDelete, ecSelectAll };

struct TbsEditMenuState {
    bool CanUndo = false;
    bool HasSelection = false;
    bool AllSelected = false;
    bool ClipboardHasText = false;
    bool ReadOnly = false;
};

struct TbsEditMenuItem {
    TbsEditCommand Command = ecNone;  // ecNone: a separator
    QString Caption;
    bool Enabled = false;
};

// The items in order, captions from the skin's replacement texts
// ("EDIT_UNDO" …) when it has them, else the built-in ones.
std::vector<TbsEditMenuItem> bsEditMenuItems(const TbsEditMenuState& state,
                                             const TbsResourceStrData* texts);

// The state of an edit as the menu sees it.
TbsEditMenuState bsEditMenuState(const QLineEdit& edit, bool readOnly);

// The skin text key of a command ("EDIT_COPY"); the name of its menu action.
const char* bsEditCommandName(TbsEditCommand command);

// Runs a command on the edit.
void bsRunEditCommand(QLineEdit& edit, TbsEditCommand command);

// The skin whose texts name the items: the one of the form's skinned frame,
// else the nearest skinned control from the edit up (the edit itself, or
// the spin edit around an inner editor); may be null.
TbsSkinData* bsEditMenuSkin(const QLineEdit& edit);

// Shows the menu at a screen position through the form's skinned menus; the
// chosen command runs on the edit. The edit may be destroyed by what its
// change handling does meanwhile: nothing of it is touched afterwards.
// readOnly < 0: the edit's own read-only setting. Returns the menu (a child
// of the edit, named "bsEditMenu"), or null when there was no edit.
TbsSkinPopupMenu* bsPopupEditMenu(QLineEdit* edit, QPoint globalPos, int readOnly = -1);

// The edit's menu while it exists, else null.
TbsSkinPopupMenu* bsEditMenuOf(const QLineEdit& edit);

}  // namespace rasp
