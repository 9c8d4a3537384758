#pragma once
// Walks every shown widget of a window: what lies outside its parent (cut
// off by the edge of its panel) and which named controls overprint one
// another.

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

namespace rasp::test {

inline QString PathOf(const QWidget* w, const QWidget* top)
{
    QString path;
    for (; w && w != top; w = w->parentWidget()) {
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                       : w->objectName();
        path = path.isEmpty() ? name : name + "/" + path;
    }
    return path;
}

inline std::string Describe(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x"
           + std::to_string(r.height());
}

inline bool Shown(const QWidget* w, const QWidget* top)
{
    return w->isVisibleTo(top) && !w->isWindow() && !w->size().isEmpty();
}

// Down to the parts inside the controls.
inline std::vector<std::string> WidgetsOutsideTheirParents(QWidget* top)
{
    std::vector<std::string> outside;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!Shown(w, top) || w->window() != top)
            continue;
        const QRect parent = w->parentWidget()->rect();
        if (!parent.contains(w->geometry()))
            outside.push_back(PathOf(w, top).toStdString() + " " + Describe(w->geometry()) + " in "
                              + std::to_string(parent.width()) + "x" + std::to_string(parent.height()));
    }
    return outside;
}

// Controls of the window's own (those with a name) that share pixels with a
// named sibling; the parts inside a control are its own business.
inline std::vector<std::string> OverlappingControls(QWidget* top)
{
    std::vector<std::string> overlaps;
    for (QWidget* parent : top->findChildren<QWidget*>()) {
        if (parent->window() != top)
            continue;
        const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < children.size(); ++i)
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                const QWidget* a = children[i];
                const QWidget* b = children[j];
                if (a->objectName().isEmpty() || b->objectName().isEmpty() || !Shown(a, top) || !Shown(b, top))
                    continue;
                if (a->geometry().intersects(b->geometry()))
                    overlaps.push_back(PathOf(a, top).toStdString() + " " + Describe(a->geometry()) + " and "
                                       + b->objectName().toStdString() + " " + Describe(b->geometry()));
            }
    }
    return overlaps;
}

}  // namespace rasp::test
