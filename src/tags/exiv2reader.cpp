#include "tags/exiv2reader.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTime>

#include <exiv2/exiv2.hpp>

#include <exception>
#include <string>

namespace {

// The text of one ASCII field, up to its first NUL, without surrounding blanks.
QString fieldText(const Exiv2::ExifData &exif, const char *key)
{
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    if (found == exif.end())
        return {};
    const std::string value = found->toString();
    return QString::fromUtf8(value.c_str()).trimmed();
}

// "yyyy/mm/dd hh:mm:ss" of an EXIF date ("2024:08:15 10:30:00"); empty when
// it is no date of the calendar.
QString momentText(const QString &exifDate)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})[:-](\\d\\d)[:-](\\d\\d)[ T](\\d\\d):(\\d\\d):(\\d\\d)"));
    const QRegularExpressionMatch parts = form.match(exifDate);
    if (!parts.hasMatch())
        return {};
    const QDate date(parts.captured(1).toInt(), parts.captured(2).toInt(), parts.captured(3).toInt());
    const QTime time(parts.captured(4).toInt(), parts.captured(5).toInt(), parts.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return date.toString(QStringLiteral("yyyy/MM/dd")) + u' ' + time.toString(QStringLiteral("HH:mm:ss"));
}

// Once per process, before the first read and not at start-up, where most
// runs read no photo: XMP parsing set up, and the library's warnings about
// odd files kept off the terminal.
void prepareExiv2()
{
    static const bool ready = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        return Exiv2::XmpParser::initialize();
    }();
    Q_UNUSED(ready);
}

} // namespace

ExifFields Exiv2Reader::exifFields(const QString &path)
{
    // A pipe or a device would block or never end; a folder is no photo.
    if (!QFileInfo(path).isFile())
        return {};
    prepareExiv2();
    try {
        const auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()), false);
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        ExifFields fields;
        for (const char *key : {"Exif.Photo.DateTimeOriginal", "Exif.Photo.DateTimeDigitized", "Exif.Image.DateTime"}) {
            fields.moment = momentText(fieldText(exif, key));
            if (!fields.moment.isEmpty())
                break;
        }
        fields.make = fieldText(exif, "Exif.Image.Make");
        fields.model = fieldText(exif, "Exif.Image.Model");
        return fields;
    } catch (const std::exception &) {
        return {};
    } catch (...) {
        return {};
    }
}
