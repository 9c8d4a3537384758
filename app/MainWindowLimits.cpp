// The smallest window in which every control is whole and none runs over
// another. The controls sit at fixed places and the article boxes split the
// window by a rule of their own, so the limit is worked out from where the
// controls are rather than left to the layouts; it follows the captions of a
// deployment and the fonts of every skin.

#include "app/MainWindow.h"

#include "skin/bsSkinForm.h"

#include <QLayout>

#include <algorithm>
#include <initializer_list>

namespace rasp {

namespace {

// Room left between two neighbours in the footer.
constexpr int kGap = 6;

int RightOf(const QWidget* w) { return w->x() + w->width(); }

bool SideBySide(const QWidget* a, const QWidget* b)
{
    return a->y() < b->y() + b->height() && b->y() < a->y() + a->height();
}

// The width a panel needs to hold its children where they stand.
int ChildrenWidth(const QWidget* panel)
{
    int right = 0;
    for (const QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && !child->isWindow())
            right = std::max(right, RightOf(child));
    return right;
}

// What a box's own frame and layout take around the widgets inside it.
QMargins Chrome(const QWidget* box)
{
    QMargins m = box->contentsMargins();
    if (const QLayout* layout = box->layout())
        m += layout->contentsMargins();
    return m;
}

}  // namespace

QSize TfrmMain::MinimumClientSize() const
{
    // Footer: what stays at the left against what keeps its distance to the
    // right edge, row by row.
    const int footerWidth = bsSkinPanel4->width();
    int footer = 0;
    const std::initializer_list<const QWidget*> left = {bsSkinStdLabel10, edtDuplicate, bsSkinStdLabel11,
                                                         lblLink1URL};
    const std::initializer_list<const QWidget*> right = {bsSkinStdLabel3, minNumWords, cbxType, lblLink2URL};
    for (const QWidget* a : left)
        footer = std::max(footer, RightOf(a) + a->x());
    for (const QWidget* b : right) {
        const int fromRight = footerWidth - b->x();
        footer = std::max(footer, fromRight + bsSkinStdLabel10->x());
        for (const QWidget* a : left)
            if (SideBySide(a, b))
                footer = std::max(footer, RightOf(a) + kGap + fromRight);
    }
    const int toolStrip = ChildrenWidth(bsSkinPanel1) + btnCompareEx->x();

    // Each article box holds its button bar and statistics box at their
    // full width; article 1 takes half the outer width less 10.
    auto boxNeeds = [](const TbsSkinGroupBox* box, const QWidget* bar, const QWidget* stats) {
        const QMargins m = Chrome(box);
        return std::max(ChildrenWidth(bar), ChildrenWidth(stats)) + m.left() + m.right();
    };
    const int needs1 = boxNeeds(panLeft, bsSkinPanel2, bsSkinPanel3);
    const int needs2 = boxNeeds(bsSkinGroupBox2, bsSkinPanel7, bsSkinPanel6);
    const TbsMargins frame = bsSkinForm1 ? bsSkinForm1->NonClient() : TbsMargins{};
    const int borders = frame.Left + frame.Right;
    int width = std::max(footer, toolStrip);
    // The split rounds, so the smallest width is found by trying; a few
    // hundred steps at most, since each box needs less than the screen.
    for (int limit = width + 4096; width < limit; ++width) {
        const int article1 = (width + borders) / 2 - 10;
        if (article1 >= needs1 && width - article1 - bsSkinPanel5->width() >= needs2)
            break;
    }

    // Height: the strips as they are, and the article boxes at the least
    // their layouts allow (the panes keep a few lines, the scroll bars room
    // for both arrows and a thumb).
    const int middle = std::max(panLeft->layout()->totalMinimumSize().height(),
                                bsSkinGroupBox2->layout()->totalMinimumSize().height());
    // A deployment without a banner hides its strip.
    const int banner = panBanner->isHidden() ? 0 : panBanner->height();
    const int height = bsSkinPanel1->height() + banner + middle + bsSkinPanel4->height();
    return QSize(width, height);
}

void TfrmMain::UpdateMinimumSize()
{
    if (bsSkinForm1)
        bsSkinForm1->SetMinClientSize(MinimumClientSize());
}

}  // namespace rasp
