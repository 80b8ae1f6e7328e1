#pragma once

#include <QIcon>
#include <QString>

// Command and control ids of the window's resources. The numbers are the ones the
// string table is keyed by; a command's QAction carries its id as data.
enum CommandId : int {
    ID_FILE_PRINT = 57607,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_MIDI_PLAY = 32771,
    ID_MIDI_REC = 32772,
    ID_MIDI_STOP = 32773,
};

inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr int ID_INDICATOR_CAPS = 0xE701;
inline constexpr int ID_INDICATOR_NUM = 0xE702;
inline constexpr int ID_INDICATOR_SCRL = 0xE703;
inline constexpr int ID_INDICATOR_KANA = 0xE706;

// The string table's text for id, or an empty string when it has none. A command's
// text is its status-bar prompt, then "\n" and its tool tip when it has one.
QString LoadResourceString(int id);

QIcon ApplicationIcon();
