#pragma once
// Etched line or frame in the "bevel" entry's light and dark colours.

#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinClient.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace rasp {

enum TbsBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TbsBevelStyle { bsLowered, bsRaised };

class TbsSkinBevel : public QWidget, public TbsSkinClient {
    Q_OBJECT
public:
    explicit TbsSkinBevel(QWidget* parent = nullptr);

    TbsSkinData* SkinData() const override { return FSkinData.data(); }
    void SetSkinData(TbsSkinData* skinData) override;
    const QString& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const QString& name) { FSkinDataName = name; }
    void ApplySkin() override;

    TbsBevelShape Shape() const { return FShape; }
    void SetShape(TbsBevelShape shape);
    TbsBevelStyle Style() const { return FStyle; }
    void SetStyle(TbsBevelStyle style);
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool on);

    // The light and the dark colour drawn with now.
    QColor LightColor() const;
    QColor DarkColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<TbsSkinData> FSkinData;
    QString FSkinDataName = QStringLiteral("bevel");
    TbsBevelShape FShape = bsTopLine;
    TbsBevelStyle FStyle = bsLowered;
    bool FDividerMode = false;
};

}  // namespace rasp
