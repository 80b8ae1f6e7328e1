#pragma once

// Keysyms of the keys the tests and benchmarks type, spelled out so their files need no
// Xlib header.
inline constexpr unsigned long kKeysymA = 0x61;
inline constexpr unsigned long kKeysymD = 0x64;
inline constexpr unsigned long kKeysymF = 0x66;
inline constexpr unsigned long kKeysymG = 0x67;
inline constexpr unsigned long kKeysymH = 0x68;
inline constexpr unsigned long kKeysymJ = 0x6a;
inline constexpr unsigned long kKeysymK = 0x6b;
inline constexpr unsigned long kKeysymQ = 0x71;
inline constexpr unsigned long kKeysymS = 0x73;
inline constexpr unsigned long kKeysymY = 0x79;
inline constexpr unsigned long kKeysymZ = 0x7a;
inline constexpr unsigned long kKeysymSpace = 0x20;
inline constexpr unsigned long kKeysymKpEnd = 0xff9c;
inline constexpr unsigned long kKeysymCapsLock = 0xffe5;
