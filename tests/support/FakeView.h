#pragma once

#include <string>
#include <vector>

#include "core/ViewSurface.h"

// Records what the rules asked of the view.
class FakeView final : public ViewSurface {
public:
    void InvalidateRect(const Rect& area) override { invalidated.push_back(area); }
    void InvalidateAll() override { ++wholeViewRepaints; }
    void ShowMessage(const char* text) override { messages.emplace_back(text); }

    std::vector<Rect> invalidated;
    int wholeViewRepaints = 0;
    std::vector<std::string> messages;
};
