#include "mainframe/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

QIcon Draw(int size, const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return QIcon(pixmap);
}

// A funnel, the sign of every filter button.
void Funnel(QPainter& p, const QColor& fill) {
    QPainterPath funnel;
    funnel.moveTo(1.5, 2.5);
    funnel.lineTo(14.5, 2.5);
    funnel.lineTo(9.5, 8.5);
    funnel.lineTo(9.5, 14.5);
    funnel.lineTo(6.5, 12.5);
    funnel.lineTo(6.5, 8.5);
    funnel.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(fill);
    p.drawPath(funnel);
}

}  // namespace

QIcon UpdateListIcon() {
    return Draw(16, [](QPainter& p) {
        // Two arrows chasing each other round a circle.
        p.setPen(QPen(QColor(0, 110, 40), 2));
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 150 * 16);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 210 * 16, 150 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 110, 40));
        p.drawPolygon(QPolygonF({{1, 6}, {6, 6}, {3, 10}}));
        p.drawPolygon(QPolygonF({{15, 10}, {10, 10}, {13, 6}}));
    });
}

QIcon StartFilterIcon() {
    return Draw(16, [](QPainter& p) { Funnel(p, QColor(80, 140, 230)); });
}

QIcon ClearFilterIcon() {
    return Draw(16, [](QPainter& p) {
        Funnel(p, QColor(200, 200, 200));
        p.setPen(QPen(QColor(210, 30, 30), 2));
        p.drawLine(QPointF(9, 9), QPointF(15, 15));
        p.drawLine(QPointF(15, 9), QPointF(9, 15));
    });
}

QIcon CityFilterIcon() {
    return Draw(16, [](QPainter& p) {
        // A town: two houses under a flag.
        p.setPen(QPen(QColor(90, 50, 20), 1));
        p.setBrush(QColor(230, 190, 120));
        p.drawRect(QRectF(1.5, 8.5, 6, 6));
        p.drawRect(QRectF(8.5, 6.5, 6, 8));
        p.setBrush(QColor(190, 60, 40));
        p.drawPolygon(QPolygonF({{0.5, 8.5}, {4.5, 4.5}, {8.5, 8.5}}));
        p.drawPolygon(QPolygonF({{7.5, 6.5}, {11.5, 2.5}, {15.5, 6.5}}));
    });
}

QIcon CheapestOnlyIcon() {
    return Draw(16, [](QPainter& p) {
        // A gold coin with a downward arrow.
        p.setPen(QPen(QColor(150, 110, 0), 1));
        p.setBrush(QColor(245, 200, 40));
        p.drawEllipse(QRectF(0.5, 3.5, 10, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 30, 30));
        p.drawRect(QRectF(12, 2, 2, 8));
        p.drawPolygon(QPolygonF({{10, 10}, {16, 10}, {13, 15}}));
    });
}

QIcon ProgramIcon() {
    return Draw(32, [](QPainter& p) {
        // A sail over a hull, on the sea.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 170));
        p.drawRoundedRect(QRectF(0, 0, 32, 32), 5, 5);
        p.setBrush(QColor(250, 250, 240));
        p.drawPolygon(QPolygonF({{16, 4}, {16, 21}, {6, 21}}));
        p.drawPolygon(QPolygonF({{18, 7}, {18, 21}, {26, 21}}));
        p.setBrush(QColor(120, 70, 30));
        p.drawPolygon(QPolygonF({{4, 23}, {28, 23}, {24, 28}, {8, 28}}));
    });
}
