#pragma once

#include <QString>

// Reads one tag field of a file for the template placeholders ("<Title>" …).
// The MP3 tag code implements it with the job's current ID3v1/ID3v2 choice.
class TagReader
{
public:
    virtual ~TagReader() = default;
    // header is an MP3 list column header such as "Title"; empty when the file
    // has no such field or cannot be read.
    virtual QString tagField(const QString &path, const QString &header) = 0;
};
