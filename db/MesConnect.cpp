#include "db/MesConnect.h"

#include "db/Supervision.h"
#include "db/UiThread.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFMesConnect *FMesConnect = nullptr;

namespace {
QLabel *coloured(QWidget *parent, const QString &name, const QString &text, const QColor &colour,
                 bool bold)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}

// The visible main window, or none.
QWidget *mainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow *>(w) && w->isVisible())
            return w;
    }
    return nullptr;
}
} // namespace

TFMesConnect::TFMesConnect(QWidget *Parent)
    : QDialog(Parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FMesConnect"));
    setWindowTitle(QStringLiteral("Обмен с сервером"));
    setFixedSize(332, 138);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 0));
    setPalette(palette);

    lNoMainSrv = coloured(this, QStringLiteral("lNoMainSrv"),
                          QStringLiteral("Отсутсвует основной сервер баз данных "),
                          QColor(0, 255, 255), true);
    lNoMainSrv->setAlignment(Qt::AlignHCenter);
    Label2 = coloured(this, QStringLiteral("Label2"), QStringLiteral("Пожалуйста, подождите..."),
                      QColor(255, 255, 0), true);
    Label3 = coloured(this, QStringLiteral("Label3"),
                      QStringLiteral("За дополнительной информацией обращайтесь к "
                                     "администратору ОИК! "),
                      QColor(0, 0, 0), false);
    Label3->setWordWrap(true);
    Button1 = new QPushButton(QStringLiteral("Выход с программы"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, [] { TerminateApplication(); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lNoMainSrv);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addStretch();
    layout->addWidget(Button1, 0, Qt::AlignRight);
    FshM = false;
}

void TFMesConnect::showEvent(QShowEvent *Event)
{
    const QWidget *over = mainWindow();
    const QRect area =
        over ? over->frameGeometry() : QGuiApplication::primaryScreen()->availableGeometry();
    move(area.center() - rect().center());
    FshM = true;
    QDialog::showEvent(Event);
}

// Closing hides the window, so this also covers closing.
void TFMesConnect::hideEvent(QHideEvent *Event)
{
    FshM = false;
    QDialog::hideEvent(Event);
}

void TFMesConnect::changeEvent(QEvent *Event)
{
    if (Event->type() == QEvent::ActivationChange)
        FshM = isActiveWindow();
    QDialog::changeEvent(Event);
}

void TFMesConnect::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_Escape) {
        Event->ignore();
        return;
    }
    QDialog::keyPressEvent(Event);
}

namespace {
// The waiting window as the supervision's view.
class TWaitingWindowView : public TSupervisionView {
public:
    void Make(const QString &Title) override
    {
        if (FMesConnect)
            return;
        FMesConnect = new TFMesConnect();
        if (!Title.isEmpty())
            FMesConnect->setWindowTitle(Title);
    }

    void Found(bool Found) override
    {
        TFMesConnect *window = FMesConnect;
        if (!window)
            return;
        // Visible but not active reads FshM false: it is closed all the same and never
        // shown twice.
        if (Found && (window->FshM || window->isVisible()))
            window->close();
        else if (!Found && !window->FshM && !window->isVisible())
            show(window);
    }

    void Free() override
    {
        delete FMesConnect;
        FMesConnect = nullptr;
    }

private:
    // Shown without blocking the caller: a blocking modal loop inside a timer's handler would
    // hold that timer, and the steps must go on probing meanwhile.
    static void show(TFMesConnect *window)
    {
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        window->raise();
        window->activateWindow();
    }
};
} // namespace

TSupervisionView &WaitingWindowView()
{
    static TWaitingWindowView view;
    return view;
}
