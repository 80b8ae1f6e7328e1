// Preloaded into a test program: the X server seems to lack the XInput extension, and
// answers every other extension query as usual.
#include <cstring>
#include <dlfcn.h>

#include <X11/Xlib.h>

extern "C" Bool XQueryExtension(Display* display, const char* name, int* majorOpcode, int* firstEvent, int* firstError)
{
    if (std::strcmp(name, "XInputExtension") == 0) {
        return False;
    }
    using QueryExtension = Bool (*)(Display*, const char*, int*, int*, int*);
    static const auto real = reinterpret_cast<QueryExtension>(dlsym(RTLD_NEXT, "XQueryExtension"));
    return real(display, name, majorOpcode, firstEvent, firstError);
}
