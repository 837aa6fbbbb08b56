#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <utility>

// A JPEG of markers alone whose EXIF holds the fields that are not empty;
// with none of them it has no EXIF at all.
struct ExifJpeg
{
    QByteArray make, model, dateTime; // dates as cameras write them: "yyyy:mm:dd hh:mm:ss"
    QByteArray original, digitized;   // DateTimeOriginal and DateTimeDigitized

    QByteArray bytes() const
    {
        using Fields = QList<std::pair<quint32, QByteArray>>;
        const auto present = [](const Fields &all) {
            Fields kept;
            for (const auto &field : all)
                if (!field.second.isEmpty())
                    kept << field;
            return kept;
        };
        const Fields image = present({{0x010F, make}, {0x0110, model}, {0x0132, dateTime}});
        const Fields photo = present({{0x9003, original}, {0x9004, digitized}});
        if (image.isEmpty() && photo.isEmpty())
            return QByteArray("\xFF\xD8\xFF\xD9", 4);
        // Little-endian TIFF: IFD0 with its pointer to the Exif IFD, that IFD, then the texts.
        const quint32 photoAt = 8 + 6 + 12 * quint32(image.size() + 1), textAt = photoAt + 6 + 12 * quint32(photo.size());
        QByteArray tiff("II*\0\x08\0\0\0", 8), texts;
        const auto put = [&tiff](quint32 value, int size) {
            for (int i = 0; i < size; ++i)
                tiff.append(char(value >> 8 * i));
        };
        const auto ifd = [&](const Fields &fields, bool pointer) {
            put(quint32(fields.size()) + pointer, 2);
            for (const auto &[tag, text] : fields) {
                put(tag, 2), put(2, 2), put(quint32(text.size()) + 1, 4), put(textAt + quint32(texts.size()), 4);
                texts += text + '\0';
            }
            if (pointer)
                put(0x8769, 2), put(4, 2), put(1, 4), put(photoAt, 4);
            put(0, 4);
        };
        ifd(image, true);
        ifd(photo, false);
        const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff + texts;
        const int length = int(app1.size()) + 2;
        return QByteArray("\xFF\xD8\xFF\xE1", 4) + char(length >> 8) + char(length & 0xFF) + app1 + "\xFF\xD9";
    }

    bool write(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes()) >= 0;
    }
};
