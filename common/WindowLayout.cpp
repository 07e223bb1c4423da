#include "common/WindowLayout.h"

#include "common/IniFile.h"
#include "common/MessageDialogs.h"
#include "common/TempTmp.h"

#include <QDateEdit>
#include <QEvent>
#include <QSplitter>
#include <QTableView>
#include <QTreeView>

#include <exception>

namespace {

QString splitterKey(const QSplitter *splitter, int i)
{
    return splitter->objectName() + QStringLiteral(".Sizes[%1]").arg(i);
}

const QString periodFormat = QStringLiteral("dd.MM.yyyy");

bool keepPeriod(const TTempTmp &store)
{
    return IniFile(store.FileName())
        .readBool(QStringLiteral("Main"), QStringLiteral("KEEP_PERIOD"), false);
}

void loadLayout(QWidget *window, const TWindowLayout &parts)
{
    TTempTmp store(window);
    if (store.ReadSection().contains(QStringLiteral("Left"), Qt::CaseInsensitive))
        store.LoadBounds();
    for (QTreeView *list : parts.Lists)
        store.LoadColumnListView(list);
    for (QTableView *grid : parts.Grids)
        store.LoadColumnStringGrid(grid);
    for (QSplitter *splitter : parts.Splitters) {
        // A hidden splitter reports the sizes of its last layout, not those it was given, so
        // it is set only from stored sizes.
        QList<int> sizes;
        for (int i = 0; i < splitter->count(); ++i)
            sizes.append(store.ReadInteger(splitterKey(splitter, i), -1));
        if (!sizes.contains(-1))
            splitter->setSizes(sizes);
    }
    if (!keepPeriod(store))
        return;
    for (QDateEdit *picker : parts.Period) {
        const QDate date =
            QDate::fromString(store.ReadString(picker->objectName(), QString()), periodFormat);
        if (date.isValid())
            picker->setDate(date);
    }
}

void saveLayout(QWidget *window, const TWindowLayout &parts)
{
    TTempTmp store(window);
    store.SaveBounds();
    for (const QTreeView *list : parts.Lists)
        store.SaveColumnListView(list);
    for (const QTableView *grid : parts.Grids)
        store.SaveColumnStringGrid(grid);
    for (const QSplitter *splitter : parts.Splitters) {
        const QList<int> sizes = splitter->sizes();
        for (int i = 0; i < sizes.size(); ++i)
            store.WriteInteger(splitterKey(splitter, i), sizes[i]);
    }
    if (!keepPeriod(store))
        return;
    for (const QDateEdit *picker : parts.Period)
        store.WriteString(picker->objectName(), picker->date().toString(periodFormat));
}

// Saves the layout when its window is hidden: closing, a dialog's OK or cancel, quitting.
class TLayoutKeeper : public QObject {
public:
    TLayoutKeeper(QWidget *window, TWindowLayout parts)
        : QObject(window), window_(window), parts_(std::move(parts))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window_ && event->type() == QEvent::Hide) {
            try {
                saveLayout(window_, parts_);
            } catch (const std::exception &e) {
                ErrorMessage(QString::fromUtf8(e.what()), QString());
            }
        }
        return false;
    }

private:
    QWidget *window_;
    TWindowLayout parts_;
};

} // namespace

void KeepWindowLayout(QWidget *Window, TWindowLayout Parts)
{
    loadLayout(Window, Parts);
    new TLayoutKeeper(Window, std::move(Parts));
}
