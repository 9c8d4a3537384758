#pragma once
// Push button of the window's tool strips and dialogs: four looks (normal,
// active, pressed, disabled) cut from the "button" entry, a blend between
// normal and active while the pointer comes and goes, repeated clicks while
// held, and groups of buttons of which one stays down. A button may stand for
// an action: it shows the action's caption, state and hint and runs it when
// clicked. In its form, Enter presses the default-active button and Escape
// the Cancel button (see TbsDialogKeys).

#include "skinctrls/TbsSkinCustomControl.h"

#include <QImage>
#include <QPointer>
#include <QTimer>

class QAction;

class TbsDataSkinButtonControl;

namespace rasp {

enum TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TbsSkinButton : public TbsSkinCustomControl {
    Q_OBJECT
public:
    explicit TbsSkinButton(QWidget* parent = nullptr, const QString& caption = {});
    ~TbsSkinButton() override;

    QString text() const { return FCaption; }
    void setText(const QString& caption);

    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool on) { FRepeatMode = on; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int ms);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool on) { FAllowAllUp = on; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool on);
    bool Down() const { return FDown; }
    void SetDown(bool down);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index);
    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);
    int Margin() const { return FMargin; }
    // Values below -1 are refused.
    void SetMargin(int m);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int s);
    TbsButtonLayout Layout() const { return FLayout; }
    void SetLayout(TbsButtonLayout l);
    bool Default() const { return FDefault; }
    void SetDefault(bool on);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool on);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int result) { FModalResult = result; }
    // The action the button stands for, not owned; null when none (or when
    // the action was destroyed). Linking takes the action's text, enabled
    // state, tool tip and visibility; later changes of the action follow as
    // long as the button's own value was still the action's.
    QAction* Action() const { return FAction.data(); }
    void SetAction(QAction* action);

    // The click: gives the modal result to the dialog, then runs OnClick
    // (connections to clicked()) or else the linked action; the dialog closes
    // afterwards unless a handler cleared its result.
    void ButtonClick();
    void click() { ButtonClick(); }

    // State, for the looks and for tests.
    bool Hot() const { return FHot; }
    double MorphFactor() const { return FMorphFactor; }
    bool Repeating() const { return FRepeatTimer.isActive(); }
    // The button Enter presses in its form: the focused button, or, while
    // another kind of control has the focus, the Default button.
    bool DefaultActive() const { return FDefaultActive; }

    void LoadSkinEntry() override;
    void ApplySkin() override;
    void ForgetSkinEntry() override;
    // A button keeps the size it was given (or the skin's height) in layouts.
    QSize sizeHint() const override { return size(); }

    // Where glyph and caption go inside r, for a glyph cell and caption of
    // the given sizes; the pressed look moves both by one pixel.
    static void LayoutGlyphAndCaption(const QRect& r, QSize glyph, QSize caption, int spacing,
                                      int margin, TbsButtonLayout layout, bool pressed,
                                      QPoint& glyphPos, QPoint& captionPos);

signals:
    void clicked();

protected:
    void DrawDefaultImage(QImage& image) override;
    void DrawSkinImage(QImage& image) override;

    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TbsDialogKeys;
    // `now` (a control of the form, or none) took the focus of the form.
    void FormFocusChanged(QWidget* now);
    // Enter or Escape that reached the form; true when this button took it.
    bool DialogKey(const QKeyEvent& key);
    // The Default button keeps the hot look while a control other than a
    // button has the focus of its form.
    bool ShowsDefaultLook() const;
    void UpdateHot();
    void TakeActionValues(bool all);
    enum TLook { lkNormal, lkActive, lkDown, lkDisabled };
    // The button entry, looked up afresh: never a pointer into a replaced skin.
    const TbsDataSkinButtonControl* Entry() const;
    bool Grouped() const { return FGroupIndex != 0; }
    bool Focused() const { return FCanFocused && hasFocus(); }
    TLook CurrentLook() const;
    bool Morphing() const;
    void StartMorph();
    void StopMorph();
    void MorphTick();
    void RepaintOrMorph();
    void GrabAccelerator();
    // The skinned look of one state with glyph and caption.
    QImage SkinLook(TLook look) const;
    void DrawContent(QImage& image, const QRect& area, const QFont& font, const QColor& color,
                     bool pressed, int cell) const;
    int GlyphCell(bool downLook, bool activeLook) const;

    QString FCaption;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    bool FAllowAllUp = false;
    bool FCanFocused = true;
    bool FDown = false;
    int FGroupIndex = 0;
    QImage FGlyph;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 1;
    TbsButtonLayout FLayout = blGlyphLeft;
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;

    bool FHot = false;
    bool FMouseIn = false;
    bool FDefaultActive = false;
    bool FMousePressed = false;
    bool FReleaseMarked = false;
    double FMorphFactor = 0;
    int FShortcutId = 0;
    QTimer FRepeatTimer;
    QTimer FMorphTimer;

    QPointer<QAction> FAction;
    // The action's values as the button last took them.
    struct TActionValues {
        QString Caption, Hint;
        bool Enabled = true, Visible = true;
    } FActionValues;
};

}  // namespace rasp
