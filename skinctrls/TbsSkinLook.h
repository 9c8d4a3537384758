#pragma once
// The skin entry of a control that is not itself a TbsSkinControl (the
// edits, which stay line edits for typing, caret and selection): the skin
// data it draws from, its entry found by name at every use, and piece
// images of the entry's rectangles at the control's size.

#include "skin/bsSkinControls.h"
#include "skin/bsSkinData.h"
#include "skinctrls/bsPieceImage.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>

namespace rasp {

class TbsSkinLook {
public:
    TbsSkinData* Data() const { return FData.data(); }
    void SetData(TbsSkinData* data) { FData = data; }

    // Looks the entry of `name` up again; true when it can be drawn from.
    bool LookUp(const QString& name);
    // Forgets the entry until the next lookup.
    void Forget() { FEntry = nullptr; FPicture = nullptr; }
    bool Skinned() const { return FEntry != nullptr; }

    // The entry of the last lookup, as the class the control expects.
    template <class T> const T* EntryAs() const { return dynamic_cast<const T*>(FEntry); }
    const QImage* Picture() const { return FPicture; }
    const TbsPieceGeometry& Geometry() const { return FGeometry; }
    int SkinWidth() const { return FGeometry.SkinRect.Width(); }
    int SkinHeight() const { return FGeometry.SkinRect.Height(); }
    // The client rectangle at a control size, in control coordinates.
    QRect ClientRect(int width, int height) const;
    // The image of a state rectangle laid out like the skin rectangle (the
    // skin rectangle itself when the state's is empty or unusable).
    QImage Build(const TbsRect& state, int width, int height) const;
    // True when r lies wholly inside the picture.
    bool InPicture(const TbsRect& r) const;

private:
    QPointer<TbsSkinData> FData;
    const TbsDataSkinCustomControl* FEntry = nullptr;
    const QImage* FPicture = nullptr;
    TbsPieceGeometry FGeometry;
};

}  // namespace rasp

namespace rasp {
// A horizontal three-piece image of src at the given width: `left` and
// `right` pixels at the ends as they are, the middle repeated. Null when src
// does not lie inside the picture.
QImage bsHorizontalPieces(const QImage* picture, const TbsRect& src, int left, int right, int width);
}  // namespace rasp
