#pragma once

#include <QProxyStyle>

// The menus' look is the application style's own, but a disabled item is highlighted
// under the mouse like any other, so that its prompt shows in the status bar as every
// other command's does; Fusion, among others, passes over disabled items. UI thread.
class MenuStyle final : public QProxyStyle {
public:
    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override;
};
