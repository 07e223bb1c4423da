#include "tests/app/ModalWindow.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

QString TriggerAndClose(QAction *Command, const char *CloseButton)
{
    QString seen;
    QTimer poll;
    int tries = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            seen = modal->objectName();
            if (auto *b = modal->findChild<QPushButton *>(QLatin1String(CloseButton)))
                b->click();
            poll.stop();
        } else if (++tries > 500) {
            poll.stop();
        }
    });
    poll.start(10);
    Command->trigger();
    poll.stop();
    return seen;
}
