#pragma once

// The option flags of the menu bar, the settings and the command line. Every
// run reads them from its context, never from a process-wide copy.
struct RunOptions
{
    bool onlyTopFolder = false;
    bool noConfirm = false;
    bool ignoreCase = false;
    bool regOrder = false;
    bool noTry = false;
    // Shown, toggled and kept with the settings.
    bool errorContinue = false;
};
