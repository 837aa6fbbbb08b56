#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTextStream>

// What the window benchmarks share: their output, and a folder of count
// small files, a thousand to a subfolder, with names that hold Japanese.
inline QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

inline void makeFiles(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const QString sub = QStringLiteral("%1/d%2").arg(folder).arg(i / 1000, 3, 10, QLatin1Char('0'));
        if (i % 1000 == 0)
            QDir().mkpath(sub);
        QFile file(QStringLiteral("%1/IMG_%2 旅行.jpg").arg(sub).arg(i, 6, 10, QLatin1Char('0')));
        if (file.open(QIODevice::WriteOnly))
            file.write("x");
    }
}
