#pragma once

#include <QString>

// Handing files, folders and addresses to the desktop. Each returns whether the
// desktop accepted the request.

// Shows a folder in the desktop's file manager.
bool OpenInExplorer(const QString &folder);

// Opens a document, a folder or an address ("https://…", "mailto:…") with the
// desktop's default handler.
bool ShellOpen(const QString &target);

// Opens a file with the program registered for its type; a folder is shown in
// the file manager. A relative path is taken against the program's folder.
// Returns 1 when something was started, else 0.
int OpenWithApplication(const QString &path);

// The program part of a command line: up to and including the closing quote
// when it starts with one (without the quotes when strip is set), otherwise the
// text before the first blank.
QString ProgramOf(const QString &command, bool strip);

// The shipped help pages in parts/, opened in the browser.
QString HomePagePath();
QString RegExpPagePath();
bool OpenHomePage();
bool OpenRegExpPage();
