#include "TavoUnderX.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> ChildEnvironment(const std::string& displayName)
{
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0
            && entry.rfind("WAYLAND_DISPLAY=", 0) != 0) {
            variables.push_back(entry);
        }
    }
    variables.push_back("DISPLAY=" + displayName);
    variables.push_back("QT_QPA_PLATFORM=xcb");
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}

TavoProcess::TavoProcess(const std::string& executable, const std::vector<std::string>& args,
    const std::string& displayName, const std::string& stderrPath)
{
    std::vector<std::string> argv { executable };
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> environment = ChildEnvironment(displayName);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!stderrPath.empty()) {
        posix_spawn_file_actions_addopen(
            &actions, STDERR_FILENO, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    const int failed = posix_spawn(
        &pid_, executable.c_str(), &actions, nullptr, Pointers(argv).data(), Pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start " + executable + ": " + std::strerror(failed));
    }
}

TavoProcess::~TavoProcess()
{
    if (!reaped_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void TavoProcess::Signal(int signal)
{
    if (!reaped_) {
        kill(pid_, signal);
    }
}

std::optional<int> TavoProcess::WaitForExit(std::chrono::milliseconds allowance)
{
    const auto deadline = Clock::now() + allowance;
    while (!reaped_) {
        int status = 0;
        const pid_t result = waitpid(pid_, &status, WNOHANG);
        if (result == pid_) {
            reaped_ = true;
            return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
        }
        if (result < 0 || Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

TopLevelWatcher::TopLevelWatcher(const std::string& displayName)
    : display_(OpenX11Display(displayName.c_str()))
{
    if (!display_) {
        throw std::runtime_error("cannot connect to " + displayName);
    }
    XSelectInput(display_.get(), DefaultRootWindow(display_.get()), SubstructureNotifyMask);
    XSync(display_.get(), False);
}

unsigned long TopLevelWatcher::WaitForMappedWindow(std::chrono::milliseconds allowance)
{
    Display* display = display_.get();
    const auto deadline = Clock::now() + allowance;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                return event.xmap.window;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return 0;
        }
        pollfd connection { ConnectionNumber(display), POLLIN, 0 };
        poll(&connection, 1, static_cast<int>(left.count()));
    }
}

void TopLevelWatcher::RequestClose(unsigned long window)
{
    Display* display = display_.get();
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

std::string TopLevelWatcher::TitleOf(unsigned long window)
{
    Display* display = display_.get();
    XTextProperty property {};
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    if (XGetTextProperty(display, window, &property, netWmName) == 0 || property.value == nullptr) {
        return {};
    }
    std::string title(reinterpret_cast<const char*>(property.value), property.nitems);
    XFree(property.value);
    return title;
}

std::vector<std::uint32_t> TopLevelWatcher::GrabWindow(unsigned long window, int& width, int& height)
{
    Display* display = display_.get();
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes {};
    std::vector<std::uint32_t> pixels;
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return pixels;
    }
    int left = 0;
    int top = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, root, 0, 0, &left, &top, &child);
    width = attributes.width;
    height = attributes.height;
    // Read from the root, so the window's children are in the picture too.
    XImage* image = XGetImage(
        display, root, left, top, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
        }
    }
    XDestroyImage(image);
    return pixels;
}
