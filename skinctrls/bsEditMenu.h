#pragma once
// The context menu of the one-line edits: Undo, Cut, Copy, Paste, Delete and
// Select All, each enabled only when it can do something. A fresh menu is
// built for every request and gone when it closes.

#include <QPoint>
#include <QString>
#include <vector>

class QLineEdit;
class TbsResourceStrData;

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

// Runs a command on the edit.
void bsRunEditCommand(QLineEdit& edit, TbsEditCommand command);

// Shows the menu at a screen position and runs the chosen command. The edit
// may be destroyed by what its change handling does meanwhile: nothing of it
// is touched afterwards. readOnly < 0: the edit's own read-only setting.
void bsPopupEditMenu(QLineEdit* edit, QPoint globalPos, int readOnly = -1);

}  // namespace rasp
