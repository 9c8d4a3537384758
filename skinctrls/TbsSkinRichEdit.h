#pragma once
// An article pane: the rich text pane whose vertical scrolling is shown and
// driven by a separate skinned scroll bar placed beside it. The pane's own
// scroll bars are never visible.
//
// With SkinSupport the pane's font and background come from its skin entry
// ("richedit"), or from DefaultFont and DefaultColor while it is unskinned;
// without it they stay as the program set them, whatever the skin.

#include "platform/qtpane/QtRichTextPane.h"
#include "skinctrls/TbsSkinBinding.h"
#include "skinctrls/TbsSkinClient.h"

#include <QColor>
#include <QFont>
#include <QPointer>

class TbsSkinData;

namespace rasp {

class TbsSkinScrollBar;

class TbsSkinRichEdit : public QtRichTextPane, public TbsSkinBinding, public TbsSkinClient {
    Q_OBJECT
public:
    explicit TbsSkinRichEdit(QWidget* parent = nullptr);

    // The bar mirrors the pane's range and position from now on, and moving
    // it scrolls the pane. Not owned; a destroyed bar is forgotten.
    void SetVScrollBar(TbsSkinScrollBar* bar);
    TbsSkinScrollBar* VScrollBar() const;

    // Copies the pane's scroll state to the bar, without the bar's Change.
    void SyncScrollBars();

    TbsSkinData* SkinData() const override;
    void SetSkinData(TbsSkinData* skinData) override;
    void ForgetSkinEntry() override { FSkinned = false; }
    void ApplySkin() override;
    // True while the pane's look came from a "richedit" entry of the skin.
    bool IsSkinned() const;

    // Turning it on takes the skin's (or the default) look at once; turning
    // it off keeps the present font and colours.
    bool SkinSupport() const { return FSkinSupport; }
    void SetSkinSupport(bool on);
    const QFont& DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(const QFont& font);
    QColor DefaultFontColor() const { return FDefaultFontColor; }
    void SetDefaultFontColor(const QColor& color);
    QColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(const QColor& color);

    // The background of the pane and the colour of text that carries none
    // of its own.
    QColor Color() const;
    void SetColor(const QColor& color);
    QColor FontColor() const;
    void SetFontColor(const QColor& color);
    // The character set the pane's text is in.
    int CharSet() const { return FCharSet; }

private:
    void BarChanged();
    void LineDown();
    void LineUp();
    // One line is the height of a line of the pane's font.
    void ScrollLines(int lines);
    // Brings font, colours and character set in line with the skin.
    void ApplyRichEditSkin();

    QPointer<TbsSkinScrollBar> FVScrollBar;
    bool FSyncing = false;

    QPointer<TbsSkinData> FSkinData;
    bool FSkinned = false;
    bool FSkinSupport = false;
    QFont FDefaultFont;
    QColor FDefaultFontColor;
    QColor FDefaultColor;
    int FCharSet = 1;  // DEFAULT_CHARSET
};

}  // namespace rasp
