#pragma once
// The skinned control with a default font and size and the piece-image
// machinery: its entry's picture, skin rectangle, corner points and client
// rectangle, fitted to the control's present size.

#include "skinctrls/TbsSkinControl.h"
#include "skinctrls/bsPieceImage.h"

#include <QFont>

struct TbsSkinFontFields;

namespace rasp {

class TbsSkinCustomControl : public TbsSkinControl {
    Q_OBJECT
public:
    TbsSkinCustomControl(QWidget* parent, const QString& skinDataName);

    const QFont& DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(const QFont& font);
    // The colour of the default font.
    QColor DefaultFontColor() const { return FDefaultFontColor; }
    void SetDefaultFontColor(const QColor& c);
    int DefaultWidth() const { return FDefaultWidth; }
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultWidth(int w);
    void SetDefaultHeight(int h);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool on);

    void LoadSkinEntry() override;
    void ApplySkin() override;
    // Also drops every pointer into the skin about to be freed.
    void ForgetSkinEntry() override;
    bool IsSkinned() const override;
    void UpdateSkinRegion() override;
    void SetBounds(int left, int top, int width, int height) override;

    // Fits a requested size to the skin and computes the current geometry.
    void FitSizeToSkin(int& width, int& height);
    // A rectangle given in skin-rectangle coordinates, at the present size.
    TbsRect MapSkinRect(const TbsRect& r) const;
    // Builds the control's image at its present size from a rectangle of a
    // picture laid out like the skin rectangle (a state's rectangle).
    void BuildPieceImage(QImage& image, const QImage* picture, const TbsRect& source) const;

    const TbsPieceGeometry& Geometry() const { return FGeometry; }
    const TbsCurrentGeometry& Current() const { return FCurrent; }
    const QImage* Picture() const { return FPicture; }
    const QImage* MaskPicture() const { return FMaskPicture; }
    // The character set text is drawn in.
    int CharSet() const;

protected:
    void DrawDefaultImage(QImage& image) override;
    void DrawSkinImage(QImage& image) override;
    virtual void DefaultFontChanged() {}
    // After the size or the skin changed: subclasses place their content.
    virtual void SkinGeometryChanged() {}
    void resizeEvent(QResizeEvent* event) override;

    // The font by the skin's font rule: the entry's when skinned and
    // UseSkinFont is on, else DefaultFont.
    QFont ControlFont(const TbsSkinFontFields* fields) const;
    // The current client rectangle when skinned, else the whole control.
    QRect ClientArea() const;

    // A skin rectangle as a usable source: inside the picture and laid out
    // like the skin rectangle; else the skin rectangle itself.
    TbsRect StateRect(const TbsRect& r) const;

private:
    QFont FDefaultFont;
    QColor FDefaultFontColor;
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    bool FUseSkinFont = true;
    int FDefaultCharSet = 1;

    TbsPieceGeometry FGeometry;
    TbsCurrentGeometry FCurrent;
    const QImage* FPicture = nullptr;
    const QImage* FMaskPicture = nullptr;
    bool FUsable = false;
    bool FFitting = false;
};

class TbsGraphicSkinCustomControl : public TbsSkinCustomControl {
    Q_OBJECT
public:
    TbsGraphicSkinCustomControl(QWidget* parent, const QString& skinDataName);
};

// 32-bit views of images for the piece functions; the picture is converted
// when it is not 32 bits deep.
TbsImageView bsView(const QImage& image);
TbsImageTarget bsTarget(QImage& image);

QRect bsQRect(const TbsRect& r);

}  // namespace rasp
