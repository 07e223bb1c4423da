#include "login/ElidedPanel.h"

#include <QPainter>

#include <algorithm>

QString TElidedPanel::ShownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

void TElidedPanel::FitTo(int Width)
{
    setToolTip(text());
    setFixedWidth(std::min(width(), std::max(Width, 0)));
}

void TElidedPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()) | Qt::TextSingleLine, ShownText());
}
