#pragma once

#include "engine/rows/renamerowlist.h"

#include <QStringList>

#include <functional>

class GuardedUserChannel;
class InputCommands;
class JobSwitch;
class Mp3TagJob;
class TextEngine;
class CommandStates;
struct JobInputs;

// The list commands: selecting, moving, deleting, sorting and copying rows,
// and the values typed in the data editor. They act on the active list (the
// MP3 list in the MP3 job), refuse while a run lets window events through,
// and report a changed row count through listChanged.
class ListEditing
{
public:
    struct Parts
    {
        GuardedUserChannel &user;
        RenameRowList &rows;
        Mp3TagJob &tagJob;
        JobSwitch &jobSwitch;
        CommandStates &states;
        JobInputs &inputs;
        TextEngine &text;
        InputCommands &inputCommands;
        // "全て消去" forgets both.
        QString &currentFolder;
        QString &commandFilePath;
        std::function<void()> listChanged;
        // Reads the dates and sizes a load left out.
        std::function<void()> readPendingFacts;
    };

    explicit ListEditing(Parts parts) : m_parts(std::move(parts)) {}

    void ClearLists();
    void DeleteAllRows();
    void SelectAllRows();
    void MoveSelectedRows(int step);
    void DeleteSelectedRows();
    void SortActiveList(int column, bool descending);
    void SetRowSelected(int row, bool on);
    void SetTagRowSelected(int row, bool on);
    QString ActiveListText(const QStringList &mainHeaders);
    QStringList ActiveColumn(int column) const;
    void ApplyDirectData(int column, const QStringList &values);

private:
    bool refused() const;
    bool onTagRows() const;
    // Calls edit with the active list.
    template <class Edit>
    void onActiveList(Edit edit);
    void applyToTagRows(int column, const QStringList &values);
    void applyToMainRows(const QStringList &values);

    Parts m_parts;
};
