#include "db/ServerStatus.h"

#include "db/OracleSession.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

TSharedText &User_All_Name = ProcessState.login.User_All_Name;

namespace {
const QString Q = QStringLiteral("\"");

QString twoServersText(bool mainWord)
{
    return (mainWord ? QStringLiteral("   Два сервера. Основной: ")
                     : QStringLiteral("   Два сервера. Работаю с: ")) +
           Q + FOracleBase->ADatabase->LogonDatabase() + Q + QStringLiteral("   ");
}

QString serverPart(bool full)
{
    const TOracleSession &a = *FOracleBase->ADatabase;
    if (N_SRV != 1)
        return QStringLiteral("   ") + a.LogonUsername() + QStringLiteral("@") + a.LogonDatabase() +
               QStringLiteral("   ");
    if (full)
        return twoServersText(true);
    if (WriteToRezerv)
        return twoServersText(!WorkResSrv);
    return QStringLiteral("   Нет горячего резерва. Работаю с: ") + Q + a.LogonDatabase() + Q +
           QStringLiteral("   ");
}

QString userPart(bool always)
{
    const QString name = User_All_Name;
    if (name.isEmpty() && !always)
        return QString();
    return QStringLiteral("Пользователь: ") + Q + name + Q + QStringLiteral("   ");
}

void showInPanel0(QStatusBar *Sb, const QString &text)
{
    QLabel *panel = StatusPanel0(Sb);
    panel->setText(text);
    panel->setFixedWidth(QFontMetrics(Sb->font()).horizontalAdvance(text));
}
} // namespace

QString ServerStatusText()
{
    return serverPart(false) + userPart(false);
}

QString ServerStatusTextFull()
{
    return serverPart(true) + userPart(true);
}

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
