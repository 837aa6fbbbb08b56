#pragma once

#include <QString>

#include <limits>
#include <memory>

// The fields of a row of the main list, in column order. The last four are
// hidden columns.
enum class RenameField {
    NewName,
    CurrentName,
    Created,
    Modified,
    Size,
    Folder,
    Path,
    TempName,
    SortKey,
    OriginalName,
};

// Why the last Try refused a row's planned name or time-stamp; the list shows it on the row.
enum class RowRejection : quint8 {
    None,
    EmptyName,
    DotsOnly,
    ForbiddenCharacter,
    ControlCharacter,
    LineBreak,
    DuplicateTarget,
    CreationTimeUnsupported,
    // Not refused as such: the file has no EXIF moment, so its time-stamp stays.
    NoExifTime,
};

// One file or folder of the main list. Every field reads as the text the list
// shows, but a row keeps them compactly, since a list may hold 100,000: the
// folder text is shared by the rows of one folder, dates and the size are
// numbers turned into text only when read, the path is the folder joined with
// the current name unless a path set since differs from that, and the
// temporary name is kept as a name in the row's folder.
class RenameRow
{
public:
    using Field = RenameField;
    static constexpr int FieldCount = 10;
    // A date or size with no text, such as a birth time the file system did not record.
    static constexpr qint64 Unset = std::numeric_limits<qint64>::min();

    RenameRow();
    RenameRow(const RenameRow &other);
    RenameRow &operator=(const RenameRow &other);
    RenameRow(RenameRow &&other) noexcept;
    RenameRow &operator=(RenameRow &&other) noexcept;
    ~RenameRow();

    // A row as a load reads it: both names the item's, dates in seconds since
    // the epoch (Unset where there is none), the path the folder joined with
    // the name, the hidden fields empty.
    static RenameRow listed(const QString &folder, const QString &name, qint64 created, qint64 modified,
                            qint64 size);
    // A row as a load that reads no dates or size lists it: they read as
    // empty until setFacts() gives them.
    static RenameRow listedWithoutFacts(const QString &folder, const QString &name);
    bool factsPending() const { return m_factsPending; }
    static bool isFact(RenameField field)
    {
        return field == RenameField::Created || field == RenameField::Modified || field == RenameField::Size;
    }
    // The dates, in seconds since the epoch (Unset where there is none), and the size as the disk has them.
    void setFacts(qint64 created, qint64 modified, qint64 size);

    // The field's text. Const, so that a write must go through set().
    const QString operator[](RenameField field) const;
    const QString operator[](int column) const { return (*this)[static_cast<RenameField>(column)]; }
    void set(RenameField field, QString text);
    void set(int column, QString text) { set(static_cast<RenameField>(column), std::move(text)); }

    const QString &newName() const { return m_newName; }
    const QString &currentName() const { return m_currentName; }
    const QString &folder() const { return m_folder; }
    const QString &originalName() const { return m_originalName; }
    // The item now lies under name in the row's folder: the current name and
    // the path follow it.
    void setNameOnDisk(const QString &name);
    // The temporary name of an item parked in the row's folder; empty clears it.
    void setParkName(const QString &name);
    const QString &parkName() const { return m_park; }

    // Exchanges the fields with other's; the selection and the refusal stay in place.
    void swapFields(RenameRow &other) noexcept;

private:
    // What few rows need: a sort key, a path or a date or size text that
    // does not follow from the rest.
    struct Extra;
    Extra &extra();
    QString derivedPath() const;
    QString numberText(RenameField field) const;
    void setNumber(RenameField field, QString text);
    // Where a date or the size is kept: its number, and its text when the text is no number's.
    static qint64 RenameRow::*numberOf(RenameField field);
    static QString Extra::*oddTextOf(RenameField field);

    QString m_newName;
    QString m_currentName;
    QString m_folder;
    QString m_originalName;
    // A name in m_folder, or, with m_parkIsPath, a whole path.
    QString m_park;
    std::unique_ptr<Extra> m_extra;
    qint64 m_created = Unset;
    qint64 m_modified = Unset;
    qint64 m_size = Unset;

public:
    // Last, beside the flag above, so that a row takes no padding for them.
    bool selected = false;
    RowRejection rejection = RowRejection::None;

private:
    bool m_parkIsPath = false;
    bool m_factsPending = false;
};
