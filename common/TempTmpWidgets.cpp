#include "common/TempTmp.h"

#include "common/Placement.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>

// The members of TTempTmp that save and restore widgets; the rest is Qt Core only.

namespace {

bool hasFixedBorder(const QWidget *window)
{
    const Qt::WindowFlags flags = window->windowFlags();
    return window->minimumSize() == window->maximumSize() ||
           flags.testFlag(Qt::MSWindowsFixedSizeDialogHint) ||
           flags.testFlag(Qt::FramelessWindowHint);
}

// The bounds a window returns to when it is restored; a control's own bounds.
QRect restoredBounds(const QWidget *widget)
{
    if (widget->isWindow()) {
        const QRect normal = widget->normalGeometry();
        if (normal.isValid())
            return normal;
    }
    return widget->geometry();
}

constexpr Qt::WindowStates kSizeStates =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

QString stateName(Qt::WindowStates state)
{
    if (state.testFlag(Qt::WindowMinimized))
        return QStringLiteral("wsMinimized");
    // A full-screen window has no name in the file and is kept as a normal one.
    if (state.testFlag(Qt::WindowMaximized))
        return QStringLiteral("wsMaximized");
    return {};
}

void applyStateName(QWidget *window, const QString &name)
{
    Qt::WindowStates state = window->windowState() & ~kSizeStates;
    if (name == QLatin1String("wsMinimized"))
        state |= Qt::WindowMinimized;
    else if (name == QLatin1String("wsMaximized"))
        state |= Qt::WindowMaximized;
    else if (name != QLatin1String("wsNormal"))
        return;
    window->setWindowState(state);
}

// Components the program names itself; Qt names the parts inside its own widgets "qt_...".
bool isStoredComponent(const QObject *object)
{
    const QString name = object->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

} // namespace

void TTempTmp::SaveBounds()
{
    const auto *control = qobject_cast<const QWidget *>(FSource);
    if (!control)
        return;
    const QRect bounds = restoredBounds(control);
    if (control->isWindow()) {
        const QString state = stateName(control->windowState());
        if (state.isEmpty())
            DeleteKey(QStringLiteral("WindowState"));
        else
            WriteString(QStringLiteral("WindowState"), state);
    }
    WriteInteger(QStringLiteral("Left"), bounds.left());
    WriteInteger(QStringLiteral("Top"), bounds.top());
    if (control->isWindow() && hasFixedBorder(control)) {
        DeleteKey(QStringLiteral("Width"));
        DeleteKey(QStringLiteral("Height"));
        return;
    }
    WriteInteger(QStringLiteral("Width"), bounds.width());
    WriteInteger(QStringLiteral("Height"), bounds.height());
}

void TTempTmp::LoadBounds(int)
{
    auto *control = qobject_cast<QWidget *>(FSource);
    if (!control)
        return;
    const QRect current = restoredBounds(control);
    QRect bounds(ReadInteger(QStringLiteral("Left"), current.left()),
                 ReadInteger(QStringLiteral("Top"), current.top()),
                 ReadInteger(QStringLiteral("Width"), current.width()),
                 ReadInteger(QStringLiteral("Height"), current.height()));
    // Only top-level windows are kept on the monitors; a child (an MDI child among them) moves
    // within its parent.
    if (control->isWindow())
        bounds = ClampToMonitors(bounds, currentScreenLayout().monitors);
    control->setGeometry(bounds);
    if (control->isWindow())
        applyStateName(control,
                       ReadString(QStringLiteral("WindowState"), QStringLiteral("wsNormal")));
}

void TTempTmp::SaveLeftTop(const QWidget *Control)
{
    WriteInteger(Control->objectName() + QStringLiteral(".Left"), Control->x());
    WriteInteger(Control->objectName() + QStringLiteral(".Top"), Control->y());
}

void TTempTmp::LoadLeftTop(QWidget *Control)
{
    Control->move(ReadInteger(Control->objectName() + QStringLiteral(".Left"), 0),
                  ReadInteger(Control->objectName() + QStringLiteral(".Top"), 0));
}

void TTempTmp::saveHeader(const QHeaderView *header, const QString &keyFormat)
{
    for (int i = 0; i < header->count(); ++i)
        WriteInteger(keyFormat.arg(i), header->sectionSize(i));
}

void TTempTmp::loadHeader(QHeaderView *header, const QString &keyFormat) const
{
    for (int i = 0; i < header->count(); ++i)
        header->resizeSection(i, ReadInteger(keyFormat.arg(i), header->sectionSize(i)));
}

void TTempTmp::SaveColumnListView(const QTreeView *lv)
{
    saveHeader(lv->header(), lv->objectName() + QStringLiteral(".Columns[%1].Width"));
}

void TTempTmp::LoadColumnListView(QTreeView *lv)
{
    loadHeader(lv->header(), lv->objectName() + QStringLiteral(".Columns[%1].Width"));
}

void TTempTmp::SaveColumnStringGrid(const QTableView *sg)
{
    saveHeader(sg->horizontalHeader(), sg->objectName() + QStringLiteral(".ColWidths[%1]"));
}

void TTempTmp::LoadColumnStringGrid(QTableView *sg)
{
    loadHeader(sg->horizontalHeader(), sg->objectName() + QStringLiteral(".ColWidths[%1]"));
}

void TTempTmp::SaveComponentsValue(const QObject *f)
{
    const QObject *owner = f ? f : FSource;
    for (const QObject *object : owner->findChildren<QObject *>()) {
        if (!isStoredComponent(object))
            continue;
        const QString name = object->objectName();
        if (const auto *edit = qobject_cast<const QLineEdit *>(object))
            WriteString(name, edit->text());
        else if (const auto *button = qobject_cast<const QToolButton *>(object);
                 button && button->isCheckable())
            WriteBool(name, button->isChecked());
        else if (const auto *box = qobject_cast<const QCheckBox *>(object))
            WriteBool(name, box->isChecked());
        else if (const auto *spin = qobject_cast<const QSpinBox *>(object))
            WriteInteger(name, spin->value());
    }
}

void TTempTmp::LoadComponentsValue(QObject *f)
{
    QObject *owner = f ? f : FSource;
    for (QObject *object : owner->findChildren<QObject *>()) {
        if (!isStoredComponent(object))
            continue;
        const QString name = object->objectName();
        if (auto *edit = qobject_cast<QLineEdit *>(object))
            edit->setText(ReadString(name, edit->text()));
        else if (auto *button = qobject_cast<QToolButton *>(object);
                 button && button->isCheckable())
            button->setChecked(ReadBool(name, button->isChecked()));
        else if (auto *box = qobject_cast<QCheckBox *>(object))
            box->setChecked(ReadBool(name, box->isChecked()));
        else if (auto *spin = qobject_cast<QSpinBox *>(object))
            spin->setValue(ReadInteger(name, spin->value()));
    }
}
