#pragma once
// Plain text label drawn in the "stdlabel" entry's font and colour; sizes
// itself to its caption. A disabled label shows engraved text.

#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinClient.h"

#include <QLabel>
#include <QPointer>

class TbsDataSkinStdLabelControl;

namespace rasp {

class TbsSkinStdLabel : public QLabel, public TbsSkinClient {
    Q_OBJECT
public:
    explicit TbsSkinStdLabel(QWidget* parent = nullptr, const QString& caption = {});

    TbsSkinData* SkinData() const override { return FSkinData.data(); }
    void SetSkinData(TbsSkinData* skinData) override;
    const QString& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const QString& name) { FSkinDataName = name; }
    void ApplySkin() override;

    const QFont& DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(const QFont& font);
    QColor DefaultFontColor() const { return FDefaultFontColor; }
    void SetDefaultFontColor(const QColor& c);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool on);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool on);

    void SetCaption(const QString& caption);

    // The entry when the label is skinned, looked up afresh.
    const TbsDataSkinStdLabelControl* SkinEntry() const;
    bool IsSkinned() const { return SkinEntry() != nullptr; }
    // The font and colour the label draws with now.
    QFont DrawFont() const;
    QColor DrawColor() const;
    int CharSet() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The skinned colour; the link label changes it under the pointer.
    virtual QColor SkinColor(const TbsDataSkinStdLabelControl& entry) const;
    virtual QColor PlainColor() const;
    int TextFlags() const;
    // Resizes to the caption when AutoSize is on.
    virtual void AdjustBounds();

    QFont FDefaultFont;
    QColor FDefaultFontColor;
    // Links are underlined whatever font they take.
    bool FAlwaysUnderline = false;

private:
    QPointer<TbsSkinData> FSkinData;
    QString FSkinDataName;
    bool FUseSkinFont = true;
    bool FAutoSize = true;
    bool FShowAccelChar = true;
};

}  // namespace rasp
