#include "engine/runoptions.h"

namespace {

bool processOnlyTop = false;
bool processNoConfirm = false;

} // namespace

void RunOptions::setOnlyTopFolder(bool on)
{
    m_onlyTopFolder = on;
    ProcessFlags::setOnlyTop(on);
}

void RunOptions::setNoConfirm(bool on)
{
    m_noConfirm = on;
    ProcessFlags::setNoConfirm(on);
}

namespace ProcessFlags {

bool onlyTop()
{
    return processOnlyTop;
}

void setOnlyTop(bool on)
{
    processOnlyTop = on;
}

bool noConfirm()
{
    return processNoConfirm;
}

void setNoConfirm(bool on)
{
    processNoConfirm = on;
}

} // namespace ProcessFlags
