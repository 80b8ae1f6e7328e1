#include "support/ModalCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

ModalCloser::ModalCloser()
{
    QTimer::singleShot(0, &context_, [this] { CloseWhenShown(); });
}

void ModalCloser::CloseWhenShown()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
        // Not open yet: look again on the next pass of the event loop.
        QTimer::singleShot(0, &context_, [this] { CloseWhenShown(); });
        return;
    }
    caption = dialog->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
    }
    closed = true;
    dialog->accept();
}
