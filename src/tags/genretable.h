#pragma once

#include <QString>

#include <array>

// The ID3v1 genre byte and its names: 0 to 147 hold Corvane's own list (some
// names in Japanese), 148 to 255 are empty slots.
using GenreTable = std::array<QString, 256>;

const GenreTable &FillGenreTable();

// The name in slot number; for an empty slot above 0, the number in
// parentheses ("(200)"). Numbers outside 0..255 give an empty text.
QString GenreName(int number);

// The first slot whose name equals name ignoring case; -1 when none does.
// An empty name finds the first empty slot, 148.
int GenreNo(const QString &name);
