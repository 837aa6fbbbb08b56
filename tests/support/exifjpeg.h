#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <utility>
#include <vector>

// A JPEG of markers alone whose EXIF holds the fields that are not empty.
struct ExifJpeg
{
    QByteArray make;
    QByteArray model;
    QByteArray dateTime;  // "yyyy:mm:dd hh:mm:ss", as cameras write it
    QByteArray original;  // DateTimeOriginal
    QByteArray digitized; // DateTimeDigitized

    QByteArray bytes() const
    {
        using Fields = std::vector<std::pair<quint16, QByteArray>>;
        Fields image, photo;
        for (const auto &[tag, value] : {std::pair{0x010F, make}, {0x0110, model}, {0x0132, dateTime}})
            if (!value.isEmpty())
                image.emplace_back(tag, value);
        for (const auto &[tag, value] : {std::pair{0x9003, original}, {0x9004, digitized}})
            if (!value.isEmpty())
                photo.emplace_back(tag, value);
        // Little-endian TIFF: IFD0 at 8, the Exif IFD after it, then the texts.
        const auto size = [](const Fields &ifd, bool pointer) { return 6 + 12 * int(ifd.size() + pointer); };
        const int photoAt = 8 + size(image, !photo.empty());
        int dataAt = photoAt + (photo.empty() ? 0 : size(photo, false));
        QByteArray tiff("II*\0\x08\0\0\0", 8), data;
        const auto put = [](QByteArray &to, quint32 value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                to.append(char(value >> (8 * i)));
        };
        const auto writeIfd = [&](const Fields &ifd, bool pointer) {
            put(tiff, quint32(ifd.size() + pointer), 2);
            for (const auto &[tag, value] : ifd) {
                const QByteArray text = value + '\0';
                put(tiff, tag, 2), put(tiff, 2, 2), put(tiff, quint32(text.size()), 4);
                put(tiff, quint32(dataAt + data.size()), 4);
                data += text;
            }
            if (pointer)
                put(tiff, 0x8769, 2), put(tiff, 4, 2), put(tiff, 1, 4), put(tiff, quint32(photoAt), 4);
            put(tiff, 0, 4);
        };
        writeIfd(image, !photo.empty());
        if (!photo.empty())
            writeIfd(photo, false);
        const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff + data;
        QByteArray jpeg("\xFF\xD8\xFF\xE1", 4);
        jpeg.append(char((app1.size() + 2) >> 8)).append(char((app1.size() + 2) & 0xFF));
        return jpeg + app1 + QByteArray("\xFF\xD9", 2);
    }

    bool write(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes()) >= 0;
    }
};
