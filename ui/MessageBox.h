#pragma once

#include <QString>

class QWidget;

// A modal box owned by owner, captioned with the application's title, with one OK
// button; returns once the user has closed it. UI thread.
void ShowModalMessage(QWidget* owner, const QString& text);
