#pragma once

// The option flags of the menu bar. OnlyTopFolder and NoConfirm mirror into
// process-wide flags that the command line can set as well; the loaders,
// planners and executor read the process-wide ones.
class RunOptions
{
public:
    bool onlyTopFolder() const { return m_onlyTopFolder; }
    void setOnlyTopFolder(bool on);
    bool ignoreCase = false;
    bool regOrder = false;
    bool noTry = false;
    // Shown, toggled and kept with the settings.
    bool errorContinue = false;
    bool noConfirm() const { return m_noConfirm; }
    void setNoConfirm(bool on);

private:
    bool m_onlyTopFolder = false;
    bool m_noConfirm = false;
};

// The process-wide flags behind RunOptions and the command line.
namespace ProcessFlags {
bool onlyTop();
void setOnlyTop(bool on);
bool noConfirm();
void setNoConfirm(bool on);
}
