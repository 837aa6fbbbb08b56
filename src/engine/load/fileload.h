#pragma once

#include "engine/rows/renamerowlist.h"

#include <QString>
#include <QStringList>

struct JobContext;
struct LoaderState;
class FileSystem;
class FileRowReader;
class FolderHandles;
class UserChannel;

// The status texts of a load: collecting the paths, then reading them into rows.
QString CollectingStatus();
QString AddingStatus();
// Items of a load that could not be read, or whose names are not valid UTF-8,
// one per line, in the error list.
void ShowUnreadable(UserChannel &user, const QString &failures);
// A load for the MP3 job found no .mp3 file.
void ShowNoMp3Files(UserChannel &user);

// Inserts row at position (1-based); a position past the end appends.
// Returns the position used.
int InsertRow(RenameRowList &rows, int position, RenameRow row);

// Reads the dates and sizes a load left out; an item gone since is named in the error list.
void ReadPendingFacts(JobContext &context);

// Adds the row of path at position and returns failed (the item could not be
// read).
bool AddFileRow(JobContext &context, FileRowReader &reader, const QString &path, int position);

// The count label shows the row count (empty for none); the all-select button
// and Try are available exactly while the list has rows.
void SetFileCnt(LoaderState &state, int rowCount);

// Clears the active list and fills it from folder: the folder's immediate
// subfolders for the folder job, else its files (only those directly in it
// when onlyTop). Rows appear in reverse collection order, as if each had been
// inserted at the top. Items that cannot be read, and names that are not valid
// UTF-8, are reported together in the error list. Returns failed.
bool LoadFromFolder(JobContext &context, LoaderState &state, const QString &folder, bool onlyTop);

// The files chosen in the open-file dialog replace the list (and the MP3
// list): each read as if inserted at the top, so the last chosen comes first.
// Items that cannot be read are left out, as the dialog only offers existing files.
void ReadChosenFiles(JobContext &context, LoaderState &state, const QStringList &paths);
