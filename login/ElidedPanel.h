#pragma once

#include <QLabel>

// A status panel that keeps its whole text (and shows it as tooltip) but draws it cut in the
// middle, where a server's name is, when the panel is narrower than the text.
class TElidedPanel : public QLabel {
public:
    using QLabel::QLabel;

    // The text as drawn in the panel's present width.
    QString ShownText() const;
    // Narrows the panel to at most Width, keeping the whole text as tooltip.
    void FitTo(int Width);

protected:
    void paintEvent(QPaintEvent *Event) override;
};
