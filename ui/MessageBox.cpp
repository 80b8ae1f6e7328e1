#include "ui/MessageBox.h"

#include <QMessageBox>

#include "ui/Resources.h"

void ShowModalMessage(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, LoadResourceString(AFX_IDS_APP_TITLE), text, QMessageBox::Ok, owner);
    box.exec();
}
