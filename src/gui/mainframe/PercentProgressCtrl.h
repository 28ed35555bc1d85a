#pragma once
#include <QColor>
#include <QString>
#include <QWidget>

// A progress bar that paints itself: a sunken frame, the filled part and, centred
// over the whole bar, the percentage reached or the bar's own text, drawn in two
// colours so that it stays readable on the filled and on the empty part.
class PercentProgressCtrl : public QWidget {
    Q_OBJECT
public:
    explicit PercentProgressCtrl(QWidget* parent = nullptr);

    // The position is kept within the range, as a platform progress bar keeps it.
    void SetRange(int lower, int upper);
    void SetPos(int pos);

    void SetEmptyColor(const QColor& color);
    // Takes effect at the next repaint.
    void SetShowPercent(bool showPercent) { m_showPercent = showPercent; }
    // Shown instead of the percentage while the percentage is off.
    void SetText(const QString& text);

    // The text the bar shows now.
    QString ShownText() const;
    // Width in pixels of the filled part, counted from the inside of the frame.
    int FillWidth() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    QString m_text;
    // Read from the palette once: a later palette change does not reach the bar.
    QColor m_emptyTextColor;
    QColor m_barTextColor;
    QColor m_barColor;
    QColor m_emptyColor;
    bool m_showPercent = false;
};
