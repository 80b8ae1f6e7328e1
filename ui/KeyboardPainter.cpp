#include "ui/KeyboardPainter.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <array>
#include <cstdint>

#include "core/TickProcedure.h"
#include "names/InstrumentNames.h"
#include "platform/text/NameDecoding.h"

namespace {

// The widest counter line there can be: counters stop at the largest 32-bit value.
constexpr const char* kWidestCounter = "RECFRAME:2147483647";
constexpr int kCounterMargin = kLogFramePosition.x();
constexpr int kCounterLineHeight = kRecFramePosition.y() - kLogFramePosition.y();

void DrawKeys(QPainter& painter, const AppState& state, bool black, const QColor& unpressed)
{
    for (int i = 0; i < kKeyCount; ++i) {
        if ((state.isBlackKey[i % kKeysPerOctave] == 1) != black) {
            continue;
        }
        const PianoKey& key = state.keys[i];
        painter.setBrush(key.down == 1 ? kPressedColour : unpressed);
        // Outlined on columns left and right - 1 and rows top and bottom - 1, as the
        // platform's Rectangle draws it.
        painter.drawRect(
            QRect(key.rect.left, key.rect.top, key.rect.right - key.rect.left - 1, key.rect.bottom - key.rect.top - 1));
    }
}

// Black text over an opaque box as tall as the font's cell and as wide as the text,
// placed by the top-left corner of the cell.
void DrawLabel(QPainter& painter, const QPoint& topLeft, const QString& text)
{
    const QFontMetrics metrics(painter.font());
    painter.fillRect(QRect(topLeft, QSize(metrics.horizontalAdvance(text), metrics.height())), kTextBackground);
    painter.drawText(topLeft + QPoint(0, metrics.ascent()), text);
}

}

QString InstrumentLabel(const AppState& state)
{
    std::array<char, kLineBufferSize> line {};
    if (!GetTextLine(state.nameText.data(), state.program, line)) {
        return QString::fromLatin1(kNoData);
    }
    const std::string_view bytes(line.data());
    return QString::fromStdString(DecodeInstrumentName(bytes, bytes.size() == kLineBufferSize - 1));
}

QFont FitLabelFont(QFont base)
{
    const int widthAvailable = kCounterArea.right - kCounterArea.left - kCounterMargin;
    for (;;) {
        const QFontMetrics metrics(base);
        const bool fits = metrics.horizontalAdvance(QString::fromLatin1(kWidestCounter)) <= widthAvailable
            && metrics.height() <= kCounterLineHeight;
        const int pixelSize = QFontInfo(base).pixelSize();
        if (fits || pixelSize <= 1) {
            return base;
        }
        base.setPixelSize(pixelSize - 1);
    }
}

void PaintKeyboard(QPainter& painter, const AppState& state, const QFont& labelFont)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    DrawKeys(painter, state, false, Qt::white);
    DrawKeys(painter, state, true, kBlackKeyColour);

    painter.setFont(labelFont);
    painter.setPen(Qt::black);
    DrawLabel(painter, kNamePosition, InstrumentLabel(state));
    if (state.mode == TransportMode::ModeRec || state.mode == TransportMode::ModePlay) {
        DrawLabel(painter, kLogFramePosition, QStringLiteral("LOGFRAME:%1").arg(state.logFrame));
        DrawLabel(painter, kRecFramePosition, QStringLiteral("RECFRAME:%1").arg(state.recFrame));
    }
}
