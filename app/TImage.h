#pragma once
// Picture control: shows a picture and sizes itself to it.

#include <QLabel>

namespace rasp {

class TImage : public QLabel {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);
    // Loads a picture file by its content; false when it is not a picture.
    bool LoadFromFile(const QString& path);
    void SetPicture(const QPixmap& picture);

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace rasp
