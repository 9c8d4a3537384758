#pragma once
// Keeps chosen children of a container at a fixed distance from its right
// edge, as they were placed in a container of the window's fixed client width.

#include <QObject>
#include <vector>

class QWidget;

namespace rasp {

class TRightAnchors : public QObject {
public:
    TRightAnchors(QWidget* container, int designWidth);
    // The child's right edge keeps its design distance to the container's
    // right edge, also when the child's width changes later.
    void Anchor(QWidget* child);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    struct TAnchor {
        QWidget* Child;
        int RightDistance;
    };
    QWidget* FContainer;
    int FDesignWidth;
    std::vector<TAnchor> FAnchors;
};

}  // namespace rasp
