#pragma once

#include <QList>

class QFont;
class RowListView;

// The two lists' columns as Conf.txt and the command files keep them: widths
// in twips (1440 to the inch), converted at the lists' screen resolution. The
// hidden fields show only in a debug run.
class ListColumns
{
public:
    ListColumns(RowListView *main, RowListView *mp3, bool debug);

    // The main list: widths 1 to 5 from twips (missing ones take the
    // defaults), the folder column wide.
    void applyMain(const QList<int> &twips);
    // Every column of the main list; 0 for a hidden one.
    QList<int> mainTwips() const;
    // The MP3 list: an empty or zero width leaves its column as it is.
    void applyMp3(const QList<int> &twips);
    QList<int> mp3Twips() const;
    // Both lists, rows as high as the font needs.
    void setFont(const QFont &font);

private:
    int pixels(int twips) const;
    int twips(int pixels) const;

    RowListView *m_main;
    RowListView *m_mp3;
    bool m_debug;
};
