#include "platform/keys/KeyboardBackEnds.h"

namespace {

constexpr KeyboardBackEnd kBackEnds[] = {
    { "from Tavo's own key events", "they count only while a Tavo window has the focus", OpenQtKeyEvents },
};

}

std::span<const KeyboardBackEnd> CompiledKeyboardBackEnds()
{
    return kBackEnds;
}
