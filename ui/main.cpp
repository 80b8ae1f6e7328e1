#include <cstdio>
#include <cstring>

// Until the window lands the program only describes itself.
int main(int argc, char* argv[])
{
    const bool wantsHelp = argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
    std::printf("Usage: tavo [--help]\n"
                "A two-octave MIDI keyboard played from the computer keyboard and the mouse.\n");
    return wantsHelp || argc == 1 ? 0 : 2;
}
