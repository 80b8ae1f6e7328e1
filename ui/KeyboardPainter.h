#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QString>

#include "core/AppState.h"

// How the keyboard view looks. The drawing is a function of the state alone, so a test
// can render it into an image. UI thread.

inline constexpr QColor kPressedColour { 255, 127, 127 };
inline constexpr QColor kBlackKeyColour { 0, 0, 0 };
inline constexpr QColor kTextBackground { 0, 255, 255 };
// Each point is the top-left corner of the text's first character cell.
inline constexpr QPoint kNamePosition { 400, 10 };
inline constexpr QPoint kLogFramePosition { 3, 300 };
inline constexpr QPoint kRecFramePosition { 3, 340 };

// Paints the whole view in this order: white keys, black keys over them, the instrument's
// name, and the counters while recording or playing. The background is the widget's.
void PaintKeyboard(QPainter& painter, const AppState& state, const QFont& labelFont);

// The name shown for the current program: its line of the list, decoded for display,
// or "nodata" when the list has no line for it.
QString InstrumentLabel(const AppState& state);

// base, made smaller when needed so that the widest counter line still fits in the
// counter area, whose repaint must erase it.
QFont FitLabelFont(QFont base);
