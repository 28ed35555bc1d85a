#include "mainframe/PercentProgressCtrl.h"

#include <qdrawutil.h>

#include <QPainter>
#include <QRegion>
#include <algorithm>

namespace {
constexpr int kTextFormat = Qt::AlignCenter | Qt::TextSingleLine;
}

PercentProgressCtrl::PercentProgressCtrl(QWidget* parent)
    : QWidget(parent),
      m_emptyTextColor(palette().color(QPalette::WindowText)),
      m_barTextColor(palette().color(QPalette::HighlightedText)),
      m_barColor(palette().color(QPalette::Highlight)),
      m_emptyColor(palette().color(QPalette::Button)) {
    // Every pixel is painted in paintEvent, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PercentProgressCtrl::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    SetPos(m_pos);
    update();
}

void PercentProgressCtrl::SetPos(int pos) {
    // Written so that a range with lower above upper cannot break the clamp.
    const int kept = std::max(m_lower, std::min(pos, m_upper));
    if (kept == m_pos) return;
    m_pos = kept;
    update();
}

void PercentProgressCtrl::SetEmptyColor(const QColor& color) {
    m_emptyColor = color;
    update();
}

void PercentProgressCtrl::SetText(const QString& text) {
    m_text = text;
    update();
}

QString PercentProgressCtrl::ShownText() const {
    if (!m_showPercent) return m_text;
    // The lower bound is not subtracted: the bar always starts at 0 where it is used.
    const double percent = (m_upper <= 0 || m_upper <= m_lower) ? 100.0 : m_pos / (m_upper * 0.01);
    return QString::asprintf("%.0f%%", percent);
}

int PercentProgressCtrl::FillWidth() const {
    const int right = width();
    const int interiorWidth = std::max(0, right - 2);
    // An empty or inverted range shows a full bar rather than dividing by zero.
    if (m_upper <= 0 || m_upper <= m_lower) return interiorWidth;
    const double share = static_cast<double>(m_pos - m_lower) / (m_upper - m_lower);
    const int fill = static_cast<int>(share * (right - 1) + 0.5);
    return std::clamp(fill, 0, interiorWidth);
}

QSize PercentProgressCtrl::sizeHint() const {
    return QSize(200, fontMetrics().height() + 8);
}

void PercentProgressCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    const QRect interior = rect().adjusted(1, 1, -1, -1);
    if (interior.isEmpty()) return;

    const QString text = ShownText();
    const QRect filled(interior.left(), interior.top(), FillWidth(), interior.height());
    painter.setFont(font());

    // The text is drawn twice, each time clipped to one part of the bar, so every
    // glyph pixel takes the colour that contrasts with the part beneath it.
    painter.setClipRect(filled);
    painter.fillRect(interior, m_barColor);
    painter.setPen(m_barTextColor);
    painter.drawText(interior, kTextFormat, text);

    painter.setClipRegion(QRegion(interior).subtracted(QRegion(filled)));
    painter.fillRect(interior, m_emptyColor);
    painter.setPen(m_emptyTextColor);
    painter.drawText(interior, kTextFormat, text);
}
