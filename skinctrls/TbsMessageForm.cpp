#include "skinctrls/TbsMessageForm.h"

#include "skinctrls/TbsSkinMessage.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinPanel.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace rasp {

TbsMessageForm::TbsMessageForm(QWidget* parent) : QDialog(parent), FClient(new TbsSkinPanel(this))
{
    FClient->SetBorderStyle(bvNone);
    setObjectName(QStringLiteral("TbsMessageForm"));
    setModal(true);
    FClient->setObjectName(QStringLiteral("Client"));
    FClient->move(0, 0);
}

void TbsMessageForm::SetClientSize(QSize size)
{
    FClientSize = size;
    PlaceClient();
}

void TbsMessageForm::PlaceClient()
{
    if (!FClientSize.isValid())
        return;
    // The frame gives its borders as the form's contents margins.
    const QMargins m = contentsMargins();
    FClient->setGeometry(QRect(QPoint(m.left(), m.top()), FClientSize));
    setFixedSize(FClientSize.grownBy(m));
}

bool TbsMessageForm::event(QEvent* event)
{
    // A frame put on, or a skin with other borders: the client keeps its size.
    if (event->type() == QEvent::ContentsRectChange)
        PlaceClient();
    return QDialog::event(event);
}

void TbsMessageForm::CloseCommand()
{
    if (FEscapeButton)
        FEscapeButton->click();
    else
        close();
}

void TbsMessageForm::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape that no button took do nothing: the box never closes
    // or answers by the framework's own rules for these keys.
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TbsMessageForm::closeEvent(QCloseEvent* event)
{
    FClosed = true;
    QDialog::closeEvent(event);
}

QImage bsMessageIcon(TMsgDlgType type)
{
    if (type == mtCustom)
        return {};
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(22);
    p.setFont(font);
    const QRectF all(1, 1, 30, 30);
    if (type == mtWarning) {
        QPainterPath triangle;
        triangle.moveTo(16, 1.5);
        triangle.lineTo(30.5, 29.5);
        triangle.lineTo(1.5, 29.5);
        triangle.closeSubpath();
        p.setPen(QPen(QColor(120, 90, 0), 1.2));
        p.setBrush(QColor(255, 204, 0));
        p.drawPath(triangle);
        p.setPen(Qt::black);
        p.drawText(QRectF(0, 6, 32, 24), Qt::AlignCenter, QStringLiteral("!"));
        return image;
    }
    const QColor fill = type == mtError ? QColor(204, 30, 30) : QColor(30, 90, 200);
    p.setPen(QPen(fill.darker(140), 1.2));
    p.setBrush(fill);
    p.drawEllipse(all);
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    if (type == mtError) {
        p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
        p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
    } else {
        p.setPen(Qt::white);
        p.drawText(all, Qt::AlignCenter, type == mtInformation ? QStringLiteral("i") : QStringLiteral("?"));
    }
    return image;
}

}  // namespace rasp
