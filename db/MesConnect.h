#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class TSupervisionView;

// The waiting window shown while no main server can be found: red, always on top, without
// title-bar buttons; its button ends the program. FshM says whether it is shown and active.
class TFMesConnect : public QDialog {
    Q_OBJECT
public:
    explicit TFMesConnect(QWidget *Parent = nullptr);

    bool FshM = false;

    QLabel *lNoMainSrv;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *Button1;

protected:
    void showEvent(QShowEvent *Event) override;
    void hideEvent(QHideEvent *Event) override;
    void changeEvent(QEvent *Event) override;
    // Escape would let the user past the window while no server is found.
    void keyPressEvent(QKeyEvent *Event) override;
};

// The process-wide waiting window; none until the supervision or a window makes it.
extern TFMesConnect *FMesConnect;

// The waiting window as the supervision shows it: made at the start with AutoConnect, shown
// (application-modal) while no main server is found and closed when one is.
TSupervisionView &WaitingWindowView();
