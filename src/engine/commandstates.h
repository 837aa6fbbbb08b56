#pragma once

// Which commands the main window offers now. Planners, executor and restore
// set them for their outcomes; the window follows them.
struct CommandStates
{
    bool tryEnabled = false;              // 試行 / mnuTry
    bool executeEnabled = false;          // 実行
    bool restoreEnabled = false;          // 元に戻す
    bool restoreFileNameEnabled = false;  // 元のファイル名に戻す
    bool listEnabled = true;              // the list takes input (off during an execution)
};
