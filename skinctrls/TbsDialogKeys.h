#pragma once
// The Enter and Escape keys of one form, and which of its buttons they press.
// Every skinned button of a form hears where the focus went (a button that
// takes the focus becomes the one Enter presses; when any other control takes
// it, the form's Default button is) and is offered the Enter and Escape
// presses that the focused control left alone. One object per form, made by
// the first button shown on it and owned by the form.

#include <QList>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace rasp {

class TbsSkinButton;

class TbsDialogKeys : public QObject {
    Q_OBJECT
public:
    // The object of the form `form`, made on first use.
    static TbsDialogKeys* Of(QWidget* form);

    // The skinned buttons of the form itself, not of forms opened from it,
    // in the order they were made.
    QList<TbsSkinButton*> Buttons() const;
    // Tells every button of the form that `now` (a control of the form, or
    // none) has the focus.
    void FocusChanged(QWidget* now);
    // Offers the key to the buttons, the first taker presses; true when one did.
    bool DialogKey(const QKeyEvent& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TbsDialogKeys(QWidget* form);
    QPointer<QWidget> FForm;
};

}  // namespace rasp
