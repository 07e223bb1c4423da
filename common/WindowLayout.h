#pragma once

#include <QList>

class QDateEdit;
class QSplitter;
class QTableView;
class QTreeView;
class QWidget;

// The parts of a window whose layout the user changes: list columns, grid columns, splitters;
// and the period pickers, whose dates are kept only while [Main] KEEP_PERIOD of Temp.tmp is 1.
struct TWindowLayout {
    QList<QTreeView *> Lists = {};
    QList<QTableView *> Grids = {};
    QList<QSplitter *> Splitters = {};
    QList<QDateEdit *> Period = {};
};

// Puts back what the window's class section of Temp.tmp holds (bounds and state, kept on the
// monitors, and the parts' sizes) and saves them there each time the window is hidden. A
// window without stored bounds keeps the size it was given. A refused write is reported when
// it happens and loses nothing but the layout.
void KeepWindowLayout(QWidget *Window, TWindowLayout Parts = {});
