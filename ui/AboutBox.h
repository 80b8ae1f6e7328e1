#pragma once

#include <QDialog>

// The About box: the icon, "Tavo Version 1.0", a line naming the libraries the program
// runs on (Qt's run-time version, then the synthesizer's description when there is
// one), and OK. UI thread; shown modally by the application.
class CAboutBox final : public QDialog {
public:
    explicit CAboutBox(const QString& synthesizerVersion, QWidget* parent = nullptr);
};
