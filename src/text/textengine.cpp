#include "text/textengine.h"

// Interim: the engines arrive in their own sources; until then every routine
// hands its input back unchanged so callers can be built and tested.
struct TextEngine::Private
{
    UserChannel &user;
    const FileSystem &files;
    TagReader *tags = nullptr;
};

TextEngine::TextEngine(UserChannel &user, const FileSystem &files)
    : d(new Private{user, files})
{
}

TextEngine::~TextEngine() = default;

void TextEngine::setTagReader(TagReader *tags)
{
    d->tags = tags;
}

QString TextEngine::RegReplace(const QString &subject, const QString &, const QString &, bool)
{
    return subject;
}

QString TextEngine::RegFirstMatch(const QString &subject, const QString &, bool)
{
    return subject;
}

QString TextEngine::RegReplaceIfMatch(const QString &subject, const QString &, const QString &, bool)
{
    return subject;
}

int TextEngine::RegFirstIndex(const QString &, const QString &, bool)
{
    return 0;
}

QString TextEngine::ExpandSubMatches(const QString &, const QString &, const QString &replacement, bool)
{
    return replacement;
}

QString TextEngine::EvalFormula(const QString &text)
{
    return text;
}

QString TextEngine::ExpandFunctions(const QString &text)
{
    return text;
}

QString TextEngine::ExpandTemplate(const QString &text, int, const QString &)
{
    return text;
}
