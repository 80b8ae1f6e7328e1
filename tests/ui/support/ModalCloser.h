#pragma once

#include <QObject>
#include <QString>

// Closes the next modal dialog that opens, pressing its default button, and keeps its
// caption and text; lets a test run code that shows a message box and waits for it.
// Watches until its end of life. UI thread.
class ModalCloser {
public:
    // Starts watching; the dialog is closed from the event loop the dialog itself runs.
    ModalCloser();

    bool closed = false;
    QString caption;
    QString text;
    int buttons = 0;

private:
    void CloseWhenShown();

    // Owns the pending look, so a closer that goes away stops watching.
    QObject context_;
};
