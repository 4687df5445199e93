#include "browsers/ViewerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ViewerIcons {

namespace {

const QColor kInk(40, 48, 60);
const QColor kPaper(255, 255, 255);
const QColor kBody(120, 132, 150);
const QColor kAccent(31, 95, 139);

template <class Draw>
QIcon drawIcon(Draw draw) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kInk, 1.5));
        draw(painter);
    }
    return QIcon(pixmap);
}

void page(QPainter& p, const QRectF& rect) {
    p.setBrush(kPaper);
    p.drawRect(rect);
    p.setPen(QPen(kBody, 1));
    for (int line = 0; rect.top() + 4 + 3 * line < rect.bottom() - 2; ++line) {
        const qreal y = rect.top() + 4 + 3 * line;
        p.drawLine(QPointF(rect.left() + 3, y), QPointF(rect.right() - 3, y));
    }
    p.setPen(QPen(kInk, 1.5));
}

}  // namespace

QIcon print() {
    return drawIcon([](QPainter& p) {
        page(p, QRectF(9.5, 3.5, 13, 10));
        p.setBrush(kBody);
        p.drawRoundedRect(QRectF(3.5, 12.5, 25, 11), 2, 2);
        page(p, QRectF(8.5, 19.5, 15, 9));
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(24.5, 16), 1.5, 1.5);
    });
}

QIcon printPreview() {
    return drawIcon([](QPainter& p) {
        page(p, QRectF(4.5, 2.5, 17, 23));
        p.setPen(QPen(kAccent, 2.5));
        p.setBrush(QColor(220, 235, 250, 200));
        p.drawEllipse(QPointF(19, 18), 6, 6);
        p.drawLine(QPointF(23.5, 22.5), QPointF(29, 28));
    });
}

QIcon exit() {
    return drawIcon([](QPainter& p) {
        p.setBrush(QColor(200, 180, 150));
        p.drawRect(QRectF(4.5, 3.5, 14, 25));
        p.setBrush(kInk);
        p.drawEllipse(QPointF(15, 16), 1.2, 1.2);
        QPainterPath arrow;
        arrow.moveTo(14, 16);
        arrow.lineTo(28, 16);
        arrow.moveTo(23, 11);
        arrow.lineTo(28, 16);
        arrow.lineTo(23, 21);
        p.strokePath(arrow, QPen(QColor(190, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    });
}

}  // namespace ViewerIcons
