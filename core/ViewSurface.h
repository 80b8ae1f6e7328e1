#pragma once

#include "core/Rect.h"

// What the instrument's rules need from the keyboard view: repaint requests and a
// modal message box. The view implements it; tests use a recording fake.
// Every function runs on the UI thread.
class ViewSurface {
public:
    // Marks the area for repainting with its background erased first; requests accumulate.
    virtual void InvalidateRect(const Rect& area) = 0;
    // Marks the whole client area for repainting with its background erased first.
    virtual void InvalidateAll() = 0;
    // Shows a modal box owned by the view, captioned "Tavo", with one OK button,
    // and returns once the user has closed it.
    virtual void ShowMessage(const char* text) = 0;

protected:
    ~ViewSurface() = default;
};
