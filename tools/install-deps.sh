#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tavo need, and
# nothing when they are all there already. Uses sudo when not run as root.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config
    # the window, the built-in synthesizer and its General MIDI soundfont, MIDI ports
    qt6-base-dev libgl-dev libfluidsynth-dev timgm6mb-soundfont librtmidi-dev libasound2-dev
    # the physical keyboard on X11 (RandR tells XWayland apart), and Japanese text in menus and dialogs
    libx11-dev libxi-dev libxrandr-dev fonts-ipafont-gothic
    # tests and benchmarks: a virtual X server with key injection and layouts, a JACK
    # server and client library, the fuzzer's compiler and runtime
    libgtest-dev libgmock-dev xvfb libxtst-dev x11-xkb-utils xkb-data
    jackd2 libjack-jackd2-dev clang libclang-rt-14-dev
    # a Wayland compositor with its XWayland, on which the program must say that keys need the focus
    weston xwayland
    # the rig's Debian tools: typing and clicking, reading and pitching rendered audio
    xdotool aubio-tools
    # reading and rendering MIDI takes with tools that are not Tavo's own
    midicsv fluidsynth
    # private desktop sound servers (PulseAudio; PipeWire with its session manager) and a recorder
    pulseaudio pulseaudio-utils pipewire-pulse wireplumber dbus-daemon
    # the README's screenshot (tools/screenshot.sh)
    imagemagick
    # the package (CPack finds its Depends with dpkg-shlibdeps, its binaries with file)
    # and its checks
    help2man dpkg-dev file lintian desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "tavo: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
