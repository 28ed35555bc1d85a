#include "history/PriceChart.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kSteps = 4;  // grid intervals on every axis
constexpr qint64 kHourMs = 3600 * 1000;

struct Line {
    QString name;
    QColor color;
    bool onStockAxis;
    double (*value)(const HistoryPoint&);
};

const Line kLines[] = {
    {QStringLiteral("最安値"), QColor(0, 90, 200), false,
     [](const HistoryPoint& p) { return static_cast<double>(p.lowestPrice); }},
    {QStringLiteral("中央値"), QColor(230, 120, 0), false,
     [](const HistoryPoint& p) { return static_cast<double>(p.medianPrice); }},
    {QStringLiteral("在庫数合計"), QColor(110, 110, 110), true,
     [](const HistoryPoint& p) { return static_cast<double>(p.totalStock); }},
};

qint64 DownloadMs(const HistoryPoint& point) {
    return QDateTime::fromString(QString::fromStdString(point.time),
                                 QStringLiteral("yyyy/MM/dd HH:mm:ss"))
        .toMSecsSinceEpoch();
}

// The axis's top: above the highest value by a tenth, on a step of 1, 2, 2.5 or 5 times a power of
// ten, so that every grid line carries a round figure; never an empty range.
double AxisTop(double highest) {
    const double rawStep = std::max(1.0, highest * 1.1 / kSteps);
    const double power = std::pow(10.0, std::floor(std::log10(rawStep)));
    double step = power * 10;
    for (double factor : {1.0, 2.0, 2.5, 5.0})
        if (power * factor >= rawStep) {
            step = power * factor;
            break;
        }
    return step * kSteps;
}

void DrawTurnedText(QPainter& painter, QPointF centre, const QString& text) {
    painter.save();
    painter.translate(centre);
    painter.rotate(-90);
    painter.drawText(QRectF(-100, -10, 200, 20), Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace

PriceChart::PriceChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PriceChart::SetPoints(const QString& title, std::vector<HistoryPoint> points) {
    m_title = title;
    m_points = std::move(points);
    update();
}

void PriceChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(8, 8, -8, -8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(card, 6, 6);

    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    painter.setPen(Qt::black);
    painter.drawText(QRectF(card.left(), card.top() + line / 2, card.width(), line),
                     Qt::AlignCenter, m_title);

    // The legend, centred under the title.
    const int swatch = line * 2 / 3;
    int legendWidth = 0;
    for (const Line& l : kLines)
        legendWidth += swatch + 4 + metrics.horizontalAdvance(l.name) + line;
    qreal x = card.center().x() - legendWidth / 2.0;
    const qreal legendY = card.top() + line * 2;
    for (const Line& l : kLines) {
        painter.fillRect(QRectF(x, legendY + (line - swatch) / 2.0, swatch, swatch), l.color);
        x += swatch + 4;
        painter.drawText(QPointF(x, legendY + metrics.ascent()), l.name);
        x += metrics.horizontalAdvance(l.name) + line;
    }

    double highestPrice = 0, highestStock = 0;
    for (const HistoryPoint& p : m_points) {
        highestPrice = std::max({highestPrice, double(p.lowestPrice), double(p.medianPrice)});
        highestStock = std::max(highestStock, double(p.totalStock));
    }
    const double priceTop = AxisTop(highestPrice), stockTop = AxisTop(highestStock);
    const int labelWidth = metrics.horizontalAdvance(QString::number(stockTop, 'f', 0)) + 6;
    const QRectF plot(card.left() + line * 2 + labelWidth, legendY + line * 2,
                      card.width() - (line * 2 + labelWidth) * 2,
                      card.bottom() - legendY - line * 5);
    if (plot.width() <= 0 || plot.height() <= 0) return;

    // Ticks and labels; the time runs from an hour before the first download to an hour after
    // the last.
    const qint64 first = m_points.empty() ? 0 : DownloadMs(m_points.front()) - kHourMs;
    const qint64 last = m_points.empty() ? 2 * kHourMs : DownloadMs(m_points.back()) + kHourMs;
    for (int i = 0; i <= kSteps; ++i) {
        const qreal y = plot.bottom() - plot.height() * i / kSteps;
        const qreal gx = plot.left() + plot.width() * i / kSteps;
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.drawLine(QPointF(gx, plot.top()), QPointF(gx, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - labelWidth - 4, y - line / 2.0, labelWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(priceTop * i / kSteps, 'f', 0));
        painter.drawText(QRectF(plot.right() + 4, y - line / 2.0, labelWidth, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(stockTop * i / kSteps, 'f', 0));
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(first + (last - first) * i / kSteps);
        painter.drawText(QRectF(gx - 60, plot.bottom() + 4, 120, line), Qt::AlignCenter,
                         when.toString(QStringLiteral("MM/dd HH:mm")));
    }
    DrawTurnedText(painter, QPointF(card.left() + line, plot.center().y()), QStringLiteral("価格"));
    DrawTurnedText(painter, QPointF(card.right() - line, plot.center().y()),
                   QStringLiteral("在庫数"));

    for (const Line& l : kLines) {
        const double top = l.onStockAxis ? stockTop : priceTop;
        QPainterPath path;
        std::vector<QPointF> dots;
        for (const HistoryPoint& p : m_points) {
            const QPointF at(
                plot.left() + plot.width() * double(DownloadMs(p) - first) / double(last - first),
                plot.bottom() - plot.height() * l.value(p) / top);
            if (dots.empty())
                path.moveTo(at);
            else
                path.lineTo(at);
            dots.push_back(at);
        }
        painter.setPen(QPen(l.color, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(l.color);
        for (const QPointF& dot : dots) painter.drawEllipse(dot, 2.5, 2.5);
    }
}
