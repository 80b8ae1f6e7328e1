// Takes the README's picture of the real window: runs tavo on the X display in $DISPLAY
// (a large enough Xvfb, see the `screenshot` target), holds a C major chord through
// XTest, and saves what the window shows as a PNG.
#include <QImage>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "TavoUnderX.h"
#include "TestXClients.h"

namespace {
using namespace std::chrono_literals;
}

int main(int argc, char* argv[])
{
    const char* display = std::getenv("DISPLAY");
    if (argc != 3 || display == nullptr) {
        std::fprintf(stderr, "usage: DISPLAY=:N tavo_screenshot TAVO OUTPUT.png\n");
        return 2;
    }
    TopLevelWatcher watcher(display);
    TavoProcess tavo(argv[1], {}, display);
    const unsigned long window = watcher.WaitForMappedWindow(30s);
    if (window == 0) {
        std::fprintf(stderr, "tavo_screenshot: the window never appeared\n");
        return 1;
    }
    XTestTypist typist(display);
    const int chord[] = { typist.KeycodeOf(kKeysymA), typist.KeycodeOf(kKeysymD), typist.KeycodeOf(kKeysymG) };
    for (const int key : chord) {
        typist.Press(key);
    }
    // Long enough for the start-up flush, the poll and the repaint.
    std::this_thread::sleep_for(1500ms);
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels = watcher.GrabWindow(window, width, height);
    for (const int key : chord) {
        typist.Release(key);
    }
    watcher.RequestClose(window);
    tavo.WaitForExit(10s);
    if (pixels.empty()) {
        std::fprintf(stderr, "tavo_screenshot: cannot read the window\n");
        return 1;
    }
    const QImage image(reinterpret_cast<const uchar*>(pixels.data()), width, height, QImage::Format_ARGB32);
    return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
