#include "app/commandline.h"

bool CommandLine::takesValue(const QString &name)
{
    static const QStringList valued = {QStringLiteral("folder"), QStringLiteral("search"),
                                       QStringLiteral("pattern"), QStringLiteral("com_file")};
    return valued.contains(name);
}

QStringList CommandLine::argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int at = 1; at < argc; ++at)
        arguments << QString::fromLocal8Bit(argv[at]);
    return arguments;
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    line.m_arguments = arguments;
    // The raw text is searched, so "-debug" counts even inside another word.
    line.m_debug = arguments.join(u' ').contains(QStringLiteral("-debug"), Qt::CaseInsensitive);
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        const QString &argument = arguments.at(at);
        if (!argument.startsWith(u'-'))
            continue;
        Switch option;
        option.name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1).toLower();
        if (takesValue(option.name) && at + 1 < arguments.size())
            option.value = arguments.at(++at);
        line.apply(option);
    }
    return line;
}

void CommandLine::apply(const Switch &option)
{
    const QString &name = option.name;
    if (name == u"debug") {
        m_debug = true;
    } else if (name == u"auto" || name == u"a") {
        m_unattended = true;
    } else if (name == u"q" || name == u"quit") {
        m_quit = true;
    } else if (name == u"folder") {
        m_folder = option.value;
    } else if (name == u"only_top" || name == u"no_confirm") {
        (name == u"only_top" ? m_onlyTop : m_noConfirm) = true;
        m_optionText += u'-' + name + u' ';
    } else if (name == u"search") {
        m_search = option.value;
        m_hasSearch = true;
        m_unpaired = !m_unpaired;
    } else if (name == u"pattern") {
        m_pattern = option.value;
        m_hasPattern = true;
        m_unpaired = !m_unpaired;
    } else if (name == u"com_file") {
        m_commandFiles << option.value;
    } else if (name == u"help" || name == u"h") {
        m_help = true;
    } else if (name == u"version") {
        m_version = true;
    } else if (name == u"undo") {
        m_undo = true;
    }
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: corvane [switches]\n"
        "\n"
        "  -folder PATH     read the files of PATH into the list\n"
        "  -only_top        read only the files directly in the folder\n"
        "  -search TEXT     search string (a regular expression)\n"
        "  -pattern TEXT    replace string (variables and functions allowed)\n"
        "  -com_file FILE   run a command file (may be given several times)\n"
        "  -auto, -a        run the job unattended\n"
        "  -quit, -q        with -auto: end when the run succeeded (no display needed)\n"
        "  -no_confirm      ask no confirmation questions\n"
        "  -debug           show the hidden list columns\n"
        "  -undo            put back the names the last run changed, from its journal,\n"
        "                   even when that run was killed half-way (no display needed)\n"
        "  --help           show this text\n"
        "  --version        show the version\n"
        "\n"
        "Exit status with -auto -quit: 0 when the run did not fail, 1 when it failed,\n"
        "2 on a command-line error.\n"
        "Exit status with -undo: 0 when every item is back under its old name, 1 when\n"
        "some are not (one line each on standard error), 2 when there is nothing to undo.\n");
}
