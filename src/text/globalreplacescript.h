#pragma once

#include <QString>

// The script that gives the host's String.prototype.replace the ECMAScript
// meaning for global regular expressions; ScriptHost runs it once.
QString GlobalReplaceScript();
