#pragma once

#include <QString>

// Where Corvane's own files live on this machine.
class SystemPaths
{
public:
    // The folder of the running program (set once at start-up; falls back to
    // the current folder when nothing set it, as in tests).
    static QString programFolder();
    static void setProgramFolder(const QString &folder);

    // Conf.txt, the user's template and the journal: beside the program for a
    // portable copy (a folder the user owns, nobody else can write to, and the
    // user is not root), else $XDG_CONFIG_HOME/corvane (default
    // ~/.config/corvane), created on demand for the user alone.
    // $CORVANE_SETTINGS_DIR, when set, overrides both (a separate set-up, or a test's own).
    static QString settingsFolder();

    // The shipped parts/ folder: beside the program in the build tree, else in
    // the installed data folder (share/corvane/parts next to the program's bin/).
    static QString partsFolder();

    // The user's desktop folder: XDG_DESKTOP_DIR from user-dirs.dirs, else
    // ~/Desktop when it exists, else the home folder.
    static QString desktopFolder();
};
