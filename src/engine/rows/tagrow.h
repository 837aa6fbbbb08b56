#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The columns of the MP3 list, in order. A header ending in "." is never a
// tag field.
enum class TagField {
    FileName,
    Title,
    Artist,
    Album,
    Genre,
    TruckNo,
    Encode,
    Year,
    Comment,
    Path,
    SortKey,
    ID3Ver,
    Save,
};

// One .mp3 file of the MP3 list. All fields are display texts.
struct TagRow
{
    using Field = TagField;
    static constexpr int FieldCount = 13;

    std::array<QString, FieldCount> fields;
    bool selected = false;

    const QString &operator[](TagField field) const { return fields[static_cast<int>(field)]; }
    QString &operator[](TagField field) { return fields[static_cast<int>(field)]; }
    const QString &operator[](int column) const { return fields[column]; }
    QString &operator[](int column) { return fields[column]; }
    template <class Key>
    void set(Key key, QString text) { (*this)[key] = std::move(text); }
    void swapFields(TagRow &other) noexcept { std::swap(fields, other.fields); }

    // The header of a 0-based column ("FileName.", "Title", …); it is also the
    // field name handed to the tag reader.
    static QString header(int column);
    // Every column's header, in column order.
    static QStringList headers();
    static bool isTagField(int column);
    // The template that leaves a column alone: "<" + header without dots + ">".
    static QString keepTemplate(int column);
    // Column widths in twips; the hidden columns widen with the debug switch.
    static int defaultWidth(int column, bool debug = false);
};
