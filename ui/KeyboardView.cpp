#include "ui/KeyboardView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include "core/MouseInput.h"
#include "core/TickProcedure.h"
#include "ui/KeyboardPainter.h"
#include "ui/Resources.h"

namespace {

constexpr QEvent::Type kTickEvent = static_cast<QEvent::Type>(WM_TICK);
// The keyboard is 701 pixels wide (key 23 ends at 350 + 350 + 1) and 300 high, and the
// counters reach down to 380.
constexpr QSize kKeyboardArea { 701, 380 };

}

CKeyboardView::CKeyboardView(
    AppState& state, KeyStateSource& keys, RandomSource& random, PeriodicTimerService& timer, QWidget* parent)
    : QWidget(parent)
    , state_(state)
    , keys_(keys)
    , random_(random)
    , labelFont_(FitLabelFont(font()))
    , clock_(*this, state, keys, timer, [this] { HandleTick(); })
{
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    if (!clock_.Start()) {
        // Shown from the event loop, so building the window is not held up by the box.
        QMetaObject::invokeMethod(
            this, [this] { ShowMessage("SetMMTimerError"); }, Qt::QueuedConnection);
    }
}

void CKeyboardView::InvalidateRect(const Rect& area)
{
    update(QRect(QPoint(area.left, area.top), QPoint(area.right - 1, area.bottom - 1)));
}

void CKeyboardView::InvalidateAll()
{
    update();
}

void CKeyboardView::ShowMessage(const char* text)
{
    QMessageBox box(
        QMessageBox::NoIcon, LoadResourceString(AFX_IDS_APP_TITLE), QString::fromUtf8(text), QMessageBox::Ok, this);
    box.exec();
}

bool CKeyboardView::PostTick()
{
    QCoreApplication::postEvent(this, new QEvent(kTickEvent));
    return true;
}

void CKeyboardView::HandleTick()
{
    OnTick(state_, { *this, keys_, random_ });
    clock_.AfterTick();
}

QSize CKeyboardView::sizeHint() const
{
    return kKeyboardArea;
}

bool CKeyboardView::event(QEvent* event)
{
    if (event->type() != kTickEvent) {
        return QWidget::event(event);
    }
    HandleTick();
    return true;
}

bool CKeyboardView::focusNextPrevChild(bool)
{
    return false;
}

void CKeyboardView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintKeyboard(painter, state_, labelFont_);
}

void CKeyboardView::keyPressEvent(QKeyEvent* event)
{
    // Keys are accepted and dropped here, so they never reach the frame; playing reads
    // the physical keyboard on each tick instead.
    event->accept();
    if (event->key() == Qt::Key_1 && event->modifiers().testFlag(Qt::KeypadModifier)) {
        ShowMessage("a");
    }
}

void CKeyboardView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // The key the mouse presses is released by the next tick's poll.
    clock_.Run();
    const QPoint point = event->position().toPoint();
    MousePress(state_, *this, random_, point.x(), point.y());
    repaint();
}

void CKeyboardView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A quick second click arrives as a double-click instead of a press; it is a press
    // like any other, and swallowing it would lose a note.
    mousePressEvent(event);
}

void CKeyboardView::mouseReleaseEvent(QMouseEvent* event)
{
    // Qt grabs the mouse from press to release, so a release outside the view still
    // arrives here and the lower octave never keeps sounding.
    if (event->button() != Qt::LeftButton) {
        return;
    }
    MouseRelease(state_, *this);
    repaint();
}
