#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The MP3 list as the loaders see it: the tag-row reader fills it.
class TagRowSink
{
public:
    virtual ~TagRowSink() = default;
    virtual void clear() = 0;
    // Reads the tags of each .mp3 path into a new row; the rows go in
    // together at position (1-based), in the order of paths. done, when set,
    // hears how many paths have been read.
    virtual void add(const QStringList &paths, int position, const std::function<void(int)> &done) = 0;
    virtual int count() const = 0;
    // The path of every row, in list order.
    virtual QStringList paths() const = 0;
};

// What the main window keeps between loads.
struct LoaderState
{
    // Set when a dropped item could not be read at all: the remaining items are skipped.
    bool loadCancelled = false;
    // The path counts last shown while collecting files and folders.
    int fileListCounter = 0;
    int folderListCounter = 0;

    // The count label beside the list; countChanged, when set, shows it.
    QString countText;
    std::function<void()> countChanged;
    // The all-select button follows the list: enabled while it has rows.
    bool allSelectEnabled = false;

    // The rows a drag inside the list started with, ascending; used by the next drop.
    std::vector<int> moveRows;

    // The MP3 list; none when the window has no such list (as in tests).
    TagRowSink *tagRows = nullptr;

    void setCountText(const QString &text)
    {
        countText = text;
        if (countChanged)
            countChanged();
    }
};
