#include "platform/keys/KeyboardReaders.h"

#include <ostream>

#include <QCoreApplication>

#include "platform/keys/KeyboardBackEnds.h"
#include "platform/keys/QtKeyEventState.h"

namespace {

// What is left when no back end opens: every key reads up, so nothing ever sounds stuck.
class SilentKeyboard final : public KeyStateSource {
public:
    void Refresh() override { }
    std::uint16_t GetAsyncKeyState(int) override { return 0; }
};

}

KeyboardReaders OpenQtKeyEvents(std::string& whyNot)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        whyNot = "no Qt application exists";
        return {};
    }
    return { std::make_unique<QtKeyEventState>(*application), std::make_unique<UnknownLockKeys>() };
}

KeyboardReaders CreateKeyboardReaders(std::ostream& notices)
{
    const std::span<const KeyboardBackEnd> backEnds = KeyboardBackEnds();
    std::string firstWhyNot;
    for (std::size_t i = 0; i < backEnds.size(); ++i) {
        std::string whyNot;
        KeyboardReaders readers = backEnds[i].open(whyNot);
        if (readers.keys) {
            if (i > 0) {
                notices << "tavo: " << firstWhyNot << ", so keys are read " << backEnds[i].how << ": "
                        << backEnds[i].limits << "\n";
            }
            return readers;
        }
        if (firstWhyNot.empty()) {
            firstWhyNot = whyNot;
        }
    }
    notices << "tavo: " << firstWhyNot << ", and no other way to read the keyboard works: the keys stay silent\n";
    return { std::make_unique<SilentKeyboard>(), std::make_unique<UnknownLockKeys>() };
}
