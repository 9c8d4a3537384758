#pragma once
// Panel that frames an area of the window and holds other controls: the
// nine-piece "panel" entry, or a frame by BorderStyle when unskinned; an
// optional caption bar with a check mark and folding to the caption.

#include "skinctrls/TbsSkinCustomControl.h"

#include <QImage>

class TbsDataSkinPanelControl;

namespace rasp {

enum TbsBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
enum TbsTextAlignment { taLeftJustify, taRightJustify, taCenter };

class TbsSkinPanel : public TbsSkinCustomControl {
    Q_OBJECT
public:
    explicit TbsSkinPanel(QWidget* parent = nullptr);

    TbsBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsBorderStyle style);
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool on);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int h);
    TbsTextAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TbsTextAlignment a);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool on);
    bool Checked() const { return FChecked; }
    void SetChecked(bool on);
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool on) { FAutoEnabledControls = on; }
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool on);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool on);
    int RealHeight() const { return FRealHeight; }
    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int s);

    // The area children are laid out in, in panel coordinates.
    QRect PanelClientRect() const;
    // The caption rectangle at the present size (skinned) or the default bar.
    QRect CaptionRect() const;

    void ApplySkin() override;

signals:
    void OnChecked();
    void OnChangeRollUpState();

protected:
    void DrawDefaultImage(QImage& image) override;
    void DrawSkinImage(QImage& image) override;
    void SkinGeometryChanged() override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const TbsDataSkinPanelControl* Entry() const;
    // Lays the children out in the client area.
    void Realign();
    void DrawCaptionText(QImage& image, QRect r, const QFont& font, const QColor& color,
                         TbsTextAlignment align, bool skinned) const;
    void DrawArrow(QImage& image, const QRect& r, const QColor& color) const;
    QImage GlyphCell() const;
    void Fold(bool rollUp);

    TbsBorderStyle FBorderStyle = bvFrame;
    QString FCaption;
    bool FCaptionMode = false;
    int FDefaultCaptionHeight = 22;
    TbsTextAlignment FDefaultAlignment = taLeftJustify;
    bool FCheckedMode = false;
    bool FChecked = false;
    bool FAutoEnabledControls = true;
    bool FRollUpMode = false;
    bool FRollUpState = false;
    int FRealHeight = -1;
    QImage FGlyph;
    int FNumGlyphs = 1;
    int FSpacing = 2;
};

}  // namespace rasp
