#pragma once

#include <QDialog>

// The About box: the icon, "Tavo Version 1.0", a line naming the libraries the program
// runs on, and OK. UI thread; shown modally by the application.
class CAboutBox final : public QDialog {
public:
    // libraryLine is the second text line, e.g. "Qt 6.4.2, FluidSynth 2.3.1".
    explicit CAboutBox(const QString& libraryLine, QWidget* parent = nullptr);
};

// The About box's second line: Qt's run-time version, then the synthesizer's
// description when there is one.
QString LibraryVersionsLine(const QString& synthesizerVersion);
