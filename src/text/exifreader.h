#pragma once

#include <QString>

// The EXIF fields of a photo, as the "<ExifDateTime>"… placeholders and the
// time-stamp jobs use them. Every field is empty when the file has none.
struct ExifFields
{
    // When the photo was taken, by the camera's clock: "yyyy/mm/dd hh:mm:ss".
    QString moment;
    QString make;
    QString model;
};

// Reads the EXIF fields of one file. The photo library implements it, so that
// the text engines need none of their own.
class ExifReader
{
public:
    virtual ~ExifReader() = default;
    // All fields empty when the file cannot be read or is no photo; never throws.
    virtual ExifFields exifFields(const QString &path) = 0;
};
