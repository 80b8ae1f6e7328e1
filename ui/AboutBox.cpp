#include "ui/AboutBox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/Resources.h"

CAboutBox::CAboutBox(const QString& synthesizerVersion, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tavoのﾊﾞｰｼﾞｮﾝ情報"));

    constexpr int kIconSize = 32;
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(kIconSize, kIconSize));

    auto* version = new QLabel(QStringLiteral("Tavo Version 1.0"), this);
    version->setTextFormat(Qt::PlainText);
    QString libraryLine = QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()));
    if (!synthesizerVersion.isEmpty()) {
        libraryLine += QStringLiteral(", ") + synthesizerVersion;
    }
    auto* libraries = new QLabel(libraryLine, this);
    libraries->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(libraries, 1, 1);
    layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
