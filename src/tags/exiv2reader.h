#pragma once

#include "text/exifreader.h"

// The EXIF fields of photos through exiv2, which knows JPEG, TIFF, the common
// raw formats, PNG, WebP and, where the library was built with it, HEIF.
// exiv2 reports failures by exceptions and warnings on stderr: both end here.
class Exiv2Reader : public ExifReader
{
public:
    // The moment is DateTimeOriginal, else DateTimeDigitized, else DateTime;
    // a date the camera left unset ("0000:00:00 …") counts as none.
    ExifFields exifFields(const QString &path) override;
};
