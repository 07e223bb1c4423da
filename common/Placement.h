#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <functional>

class QWidget;

// The monitors, the whole desktop and the mouse pointer, as the placement rules see them.
struct ScreenLayout {
    QList<QRect> monitors;
    QRect desktop;
    QPoint cursor;
};

// The real layout from the windowing system, or the one a test set up.
ScreenLayout currentScreenLayout();
// Replaces the real layout (for tests of multi-monitor placement); an empty function restores it.
void setScreenLayoutProvider(std::function<ScreenLayout()> provider);

// Keeps bounds within the span of the monitors (the rule of UpdateLeftTop and LoadBounds):
// the size is cut to the span, then the position is compared with the span and with the
// smallest monitor coordinates (never above 0).
QRect ClampToMonitors(const QRect &bounds, const QList<QRect> &monitors);

// The top-left corner of a window moved under the pointer when the pointer is outside it.
QPoint CenterOnMouse(const QRect &bounds, const QPoint &cursor);

// The top-left corner of a message box put at the pointer and kept from passing the
// desktop's right and bottom edges.
QPoint PlaceAtPointer(const QSize &size, const QPoint &cursor, const QRect &desktop);

// These three work on the window's frame (its outer bounds) where the windowing system
// reports one.

// With two or more monitors, moves the window under the pointer when the pointer is outside it.
void SetCenterMouse(QWidget *form);
// Keeps the window on the monitors.
void UpdateLeftTop(QWidget *form);
// With more than one monitor, centres the window on the whole desktop.
void SetDefMon(QWidget *form);
