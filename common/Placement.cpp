#include "common/Placement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
std::function<ScreenLayout()> &provider()
{
    static std::function<ScreenLayout()> p;
    return p;
}
} // namespace

ScreenLayout currentScreenLayout()
{
    if (provider())
        return provider()();
    ScreenLayout layout;
    for (QScreen *s : QGuiApplication::screens()) {
        layout.monitors.append(s->geometry());
        layout.desktop |= s->geometry();
    }
    layout.cursor = QCursor::pos();
    return layout;
}

void setScreenLayoutProvider(std::function<ScreenLayout()> p)
{
    provider() = std::move(p);
}

QRect ClampToMonitors(const QRect &bounds, const QList<QRect> &monitors)
{
    int minLeft = 0, minTop = 0, maxRight = 0, maxBottom = 0;
    for (const QRect &m : monitors) {
        minLeft = std::min(minLeft, m.left());
        minTop = std::min(minTop, m.top());
        maxRight = std::max(maxRight, m.left() + m.width());
        maxBottom = std::max(maxBottom, m.top() + m.height());
    }
    const int spanW = maxRight - minLeft;
    const int spanH = maxBottom - minTop;
    int left = bounds.left(), top = bounds.top();
    const int width = std::min(bounds.width(), spanW);
    const int height = std::min(bounds.height(), spanH);
    if (left + width > spanW)
        left = spanW - width;
    if (top + height > spanH)
        top = spanH - height;
    if (left < minLeft)
        left = minLeft;
    if (top < minTop)
        top = minTop;
    return QRect(left, top, width, height);
}

QPoint CenterOnMouse(const QRect &bounds, const QPoint &cursor)
{
    const int L = bounds.left(), T = bounds.top(), W = bounds.width(), H = bounds.height();
    int left = L, top = T;
    if (cursor.x() < L || cursor.x() > L + W)
        left = cursor.x() - W / 2;
    if (cursor.y() < T || cursor.y() > T + H)
        top = cursor.y() - H / 2;
    return QPoint(left, top);
}

QPoint PlaceAtPointer(const QSize &size, const QPoint &cursor, const QRect &desktop)
{
    int left = cursor.x(), top = cursor.y();
    const int right = desktop.left() + desktop.width();
    const int bottom = desktop.top() + desktop.height();
    if (left + size.width() > right)
        left = right - size.width();
    if (top + size.height() > bottom)
        top = bottom - size.height();
    return QPoint(left, top);
}

void SetCenterMouse(QWidget *form)
{
    const ScreenLayout layout = currentScreenLayout();
    if (layout.monitors.size() < 2)
        return;
    const QRect bounds = form->frameGeometry();
    const QPoint moved = CenterOnMouse(bounds, layout.cursor);
    if (moved != bounds.topLeft())
        form->move(moved);
}

void UpdateLeftTop(QWidget *form)
{
    const QRect bounds = form->frameGeometry();
    const QRect clamped = ClampToMonitors(bounds, currentScreenLayout().monitors);
    if (clamped != bounds) {
        form->resize(clamped.size() - (bounds.size() - form->size()));
        form->move(clamped.topLeft());
    }
}

void SetDefMon(QWidget *form)
{
    const ScreenLayout layout = currentScreenLayout();
    if (layout.monitors.size() <= 1)
        return;
    QRect frame(QPoint(0, 0), form->frameGeometry().size());
    frame.moveCenter(layout.desktop.center());
    form->move(frame.topLeft());
}
