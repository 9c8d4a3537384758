#pragma once
// The base of every windowed skinned control: which skin it draws from, the
// entry it finds there by name, and painting through one off-screen image.
// A control looks its entry up again at every paint, so a new skin or a new
// name is seen at the next paint.

#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinClient.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

class TbsSkinData;
class TbsDataSkinControl;

namespace rasp {

class TbsSkinControl : public QWidget, public TbsSkinClient {
    Q_OBJECT
public:
    TbsSkinControl(QWidget* parent, const QString& skinDataName);
    ~TbsSkinControl() override;

    TbsSkinData* SkinData() const override { return FSkinData.data(); }
    // Stores the reference and, when it holds a skin, applies it at once.
    void SetSkinData(TbsSkinData* skinData) override;
    const QString& SkinDataName() const { return FSkinDataName; }
    // Takes effect at the next lookup (the next paint at the latest).
    void SetSkinDataName(const QString& name) { FSkinDataName = name; }

    // Position of the entry in the skin's controls, -1 when not skinned.
    int SkinIndex() const { return FSkinIndex; }
    // The entry of the skin index, or nullptr.
    const TbsDataSkinControl* SkinEntry() const;

    // Looks the entry up and copies what the control needs from it.
    virtual void LoadSkinEntry();
    void ApplySkin() override;
    void ForgetSkinEntry() override;
    // True when the control draws its skinned look.
    virtual bool IsSkinned() const { return FSkinIndex != -1; }
    // Sets or removes the window shape from the entry's mask.
    virtual void UpdateSkinRegion() {}
    // Places the control, first fitting the size to what the skin allows.
    virtual void SetBounds(int left, int top, int width, int height);

    // Number of paints so far; tests check that a skin change costs one.
    int PaintCount() const { return FPaintCount; }

signals:
    void MouseEnter();
    void MouseLeave();

protected:
    // Draw into an image of the control's size.
    virtual void DrawDefaultImage(QImage& image);
    virtual void DrawSkinImage(QImage& image);

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

    // Sets the skin index from the skin data and the name.
    void LookUp();
    // True while a paint is handled.
    bool FPainting = false;
    // Windowless controls never take a window shape.
    bool FWindowless = false;

private:
    QPointer<TbsSkinData> FSkinData;
    QString FSkinDataName;
    int FSkinIndex = -1;
    int FPaintCount = 0;
};

// The windowless twin: the same rules, no window shape of its own.
class TbsGraphicSkinControl : public TbsSkinControl {
    Q_OBJECT
public:
    TbsGraphicSkinControl(QWidget* parent, const QString& skinDataName);
};

}  // namespace rasp
