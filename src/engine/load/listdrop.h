#pragma once

#include <QStringList>

struct JobContext;
struct LoaderState;

// What was dropped on the main list: rows dragged inside it (their indices
// wait in LoaderState::moveRows), or paths from the file manager.
struct DropData
{
    bool rowMove = false;
    QStringList paths;
};

// A drop on the main list at dropRow (the row under the pointer; 0 or past
// the end: below the last row). Dropped paths are collected like a folder read
// and the ones not yet listed (compared exactly) go in, in collection order,
// at the drop position, selected. Dragged rows move, in their order, in front
// of the drop row, selected. Everything else ends up deselected.
void ListV_OLEDragDrop(JobContext &context, LoaderState &state, const DropData &data, int dropRow);

// Remembers the selected rows as the rows a drag inside the list moves.
void StartRowMove(JobContext &context, LoaderState &state);

// A drop of paths on the MP3 list at dropRow: the .mp3 files among the
// collected paths that the list does not hold yet go to the tag-row reader
// at the drop position, in collection order.
void ListV_MP3_OLEDragDrop(JobContext &context, LoaderState &state, const QStringList &paths, int dropRow);
