#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Corvane's switches as the shell hands them over. A switch is an argument
// that begins with "-"; the switches folder, search, pattern and com_file take
// the next argument whole as their value (it may hold blanks, quotes and " -").
// Names are compared in lower case; unknown switches are ignored.
class CommandLine
{
public:
    struct Switch
    {
        QString name;  // lowered, without the leading "-"
        QString value; // empty for switches without a value
    };

    static CommandLine parse(const QStringList &arguments);
    // The arguments main was given, after the program's name, in the locale's encoding.
    static QStringList argumentsOf(int argc, char **argv);

    bool isEmpty() const { return m_arguments.isEmpty(); }

    bool debug() const { return m_debug; }
    bool unattended() const { return m_unattended; }
    bool quit() const { return m_quit; }
    bool onlyTop() const { return m_onlyTop; }
    bool noConfirm() const { return m_noConfirm; }
    bool hasSearch() const { return m_hasSearch; }
    bool hasPattern() const { return m_hasPattern; }
    QString folder() const { return m_folder; }
    QString search() const { return m_search; }
    QString pattern() const { return m_pattern; }
    QStringList commandFiles() const { return m_commandFiles; }
    // On when search and pattern came an odd number of times in all.
    bool unpaired() const { return m_unpaired; }
    // "-only_top -no_confirm ": the applied switches the caption shows.
    QString optionText() const { return m_optionText; }
    bool help() const { return m_help; }
    bool version() const { return m_version; }
    bool undo() const { return m_undo; }

    static QString usage();
    static bool takesValue(const QString &name);

private:
    void apply(const Switch &option);

    QStringList m_arguments;
    bool m_debug = false;
    bool m_unattended = false;
    bool m_quit = false;
    bool m_onlyTop = false;
    bool m_noConfirm = false;
    bool m_hasSearch = false;
    bool m_hasPattern = false;
    bool m_unpaired = false;
    bool m_help = false;
    bool m_version = false;
    bool m_undo = false;
    QString m_folder;
    QString m_search;
    QString m_pattern;
    QStringList m_commandFiles;
    QString m_optionText;
};
