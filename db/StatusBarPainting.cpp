#include "db/StatusBarPainting.h"

#include "db/OracleBase.h"
#include "db/ServerStatus.h"
#include "db/Supervision.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>

namespace {
void showInPanel0(QStatusBar *Sb, const QString &text)
{
    QLabel *panel = StatusPanel0(Sb);
    panel->setText(text);
    panel->setFixedWidth(QFontMetrics(Sb->font()).horizontalAdvance(text));
}

void setStatusColour(QStatusBar *Sb, const QColor &colour)
{
    QPalette palette = Sb->palette();
    palette.setColor(QPalette::Window, colour);
    Sb->setPalette(palette);
    Sb->setAutoFillBackground(true);
}
} // namespace

QLabel *StatusPanel0(QStatusBar *Sb)
{
    const QString name = QStringLiteral("Panel0");
    if (auto *panel = Sb->findChild<QLabel *>(name, Qt::FindDirectChildrenOnly))
        return panel;
    auto *panel = new QLabel(Sb);
    panel->setObjectName(name);
    Sb->addWidget(panel);
    return panel;
}

void NameSRVToSB(QStatusBar *Sb)
{
    showInPanel0(Sb, ServerStatusText());
}

void NameSRVToSB(QStatusBar *Sb, const QString &pUser_All_Name)
{
    Q_UNUSED(pUser_All_Name);
    showInPanel0(Sb, ServerStatusTextFull());
}

void TimerConditionSRV(QStatusBar *Sb)
{
    const QPointer<QStatusBar> bar(Sb);
    if (bar && FOracleBase)
        NameSRVToSB(bar);
    const std::optional<bool> found = SupervisionTimerStep();
    if (bar)
        ShowConditionSRV(bar, found);
}

void ShowConditionSRV(QStatusBar *bar, std::optional<bool> found)
{
    if (!found) {
        bar->showMessage(QStringLiteral("Программа в режиме перезагрузки!"));
    } else if (!*found) {
        setStatusColour(bar, QColor(255, 0, 0));
        bar->showMessage(QStringLiteral("Идет поиск основного сервера!"));
    } else if (!WriteToSRV) {
        setStatusColour(bar, QColor(0, 128, 0));
        bar->showMessage(QStringLiteral("Программа в режиме просмотра!"));
    } else {
        const QString text = bar->currentMessage();
        if (text.contains(QStringLiteral("Идет поиск основного")) ||
            text.contains(QStringLiteral("Программа в режиме п")))
            bar->clearMessage();
        setStatusColour(bar, QApplication::palette().color(QPalette::Button));
    }
}
