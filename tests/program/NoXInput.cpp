// Preloaded into the program: its X server seems to lack the XInput extension.
#include <cstring>
#include <dlfcn.h>

#include <X11/Xlib.h>

extern "C" Bool XQueryExtension(Display* display, const char* name, int* opcode, int* event, int* error)
{
    using Query = Bool (*)(Display*, const char*, int*, int*, int*);
    static const auto real = reinterpret_cast<Query>(dlsym(RTLD_NEXT, "XQueryExtension"));
    return std::strcmp(name, "XInputExtension") != 0 && real(display, name, opcode, event, error);
}
