#pragma once

#include <QString>

// The line break of every text Corvane shows or writes: messages, logs, the
// clipboard, Conf.txt and the command files.
inline const QString CrLf = QStringLiteral("\r\n");
