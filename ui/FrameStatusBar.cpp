#include "ui/FrameStatusBar.h"

#include <QLabel>

#include <array>

#include "ui/Resources.h"

namespace {

struct IndicatorPane {
    int textId;
    const char* objectName;
};
// In LockKeys order.
constexpr std::array<IndicatorPane, kLockKeyCount> kIndicatorPanes = { {
    { ID_INDICATOR_KANA, "indicatorKana" },
    { ID_INDICATOR_CAPS, "indicatorCaps" },
    { ID_INDICATOR_NUM, "indicatorNum" },
    { ID_INDICATOR_SCRL, "indicatorScrl" },
} };
constexpr int kIndicatorPadding = 8;

}

FrameStatusBar::FrameStatusBar(LockKeySource& locks, QWidget* parent)
    : QStatusBar(parent)
{
    setObjectName("statusBar");
    // A normal widget is hidden while a prompt is shown, so this is the idle text.
    auto* idle = new QLabel(LoadResourceString(AFX_IDS_IDLEMESSAGE), this);
    idle->setObjectName("idleMessage");
    addWidget(idle, 1);
    std::array<QLabel*, kLockKeyCount> panes {};
    for (int i = 0; i < kLockKeyCount; ++i) {
        auto* pane = new QLabel(this);
        pane->setObjectName(kIndicatorPanes[i].objectName);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // Sized for its text, so the panes stay put while the locks come and go.
        pane->setMinimumWidth(
            pane->fontMetrics().horizontalAdvance(LoadResourceString(kIndicatorPanes[i].textId)) + kIndicatorPadding);
        addPermanentWidget(pane);
        panes[i] = pane;
    }
    const auto refresh = [&locks, panes] {
        const LockKeys on = locks.ReadLockKeys();
        for (int i = 0; i < kLockKeyCount; ++i) {
            panes[i]->setText(on[i] ? LoadResourceString(kIndicatorPanes[i].textId) : QString());
        }
    };
    refresh();
    locks.WatchChanges(refresh);
}
