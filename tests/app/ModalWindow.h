#pragma once

#include <QString>

class QAction;

// Triggers the command and closes the modal window it opens with the button of that object
// name; returns the window's object name (empty when none opened within five seconds).
QString TriggerAndClose(QAction *Command, const char *CloseButton);
