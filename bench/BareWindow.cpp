// The floor for Tavo's start-up: a bare Qt window with the same bars as Tavo's frame
// (the menus with their texts, a tool bar of five buttons, the 16-channel combo box,
// a status bar with its idle message) and nothing behind them.
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <initializer_list>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    const std::initializer_list<std::initializer_list<const char*>> menus = {
        { "ﾌｧｲﾙ(&F)", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)" },
        { "編集(&E)", "元に戻す(&U)\tCtrl+Z", "切り取り(&T)\tCtrl+X", "ｺﾋﾟｰ(&C)\tCtrl+C", "貼り付け(&P)\tCtrl+V" },
        { "表示(&V)", "ﾂｰﾙ ﾊﾞｰ(&T)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)" },
        { "ﾍﾙﾌﾟ(&H)", "Tavo のﾊﾞｰｼﾞｮﾝ情報(&A)..." },
        { "MIDI", "PLAY", "REC", "STOP" },
    };
    for (const auto& menu : menus) {
        QMenu* popup = window.menuBar()->addMenu(QString::fromUtf8(*menu.begin()));
        for (auto item = menu.begin() + 1; item != menu.end(); ++item) {
            popup->addAction(QString::fromUtf8(*item));
        }
    }
    QToolBar* tools = window.addToolBar(QString());
    tools->setIconSize(QSize(16, 15));
    for (const QStyle::StandardPixmap icon : { QStyle::SP_DialogDiscardButton, QStyle::SP_FileIcon,
             QStyle::SP_DialogSaveButton, QStyle::SP_DriveFDIcon, QStyle::SP_MessageBoxInformation }) {
        tools->addAction(application.style()->standardIcon(icon), QString());
    }
    auto* channel = new QComboBox;
    for (int number = 1; number <= 16; ++number) {
        channel->addItem(QString::number(number));
    }
    window.addToolBar(QString())->addWidget(channel);
    window.statusBar()->showMessage(QString::fromUtf8("ﾚﾃﾞｨ"));
    window.setCentralWidget(new QWidget);
    window.resize(720, 330);
    window.show();
    return QApplication::exec();
}
