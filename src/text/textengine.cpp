#include "text/textengine.h"

#include "text/compiledreplace.h"
#include "text/formattokenexpander.h"
#include "text/formulaevaluator.h"
#include "text/functionlibrary.h"
#include "text/regexmatcher.h"
#include "text/patterncache.h"
#include "text/regreplacer.h"
#include "text/scripthost.h"
#include "text/templateexpander.h"

struct TextEngine::Private
{
    Private(UserChannel &user, const FileSystem &files)
        : evaluator(user),
          patterns(host),
          matcher(user, host, patterns),
          tokens(evaluator),
          replacer(user, host, patterns, tokens),
          functions(user, evaluator, matcher),
          templates(files, functions, evaluator)
    {
    }

    ScriptHost host;
    FormulaEvaluator evaluator;
    PatternCache patterns;
    RegexMatcher matcher;
    FormatTokenExpander tokens;
    RegReplacer replacer;
    FunctionLibrary functions;
    TemplateExpander templates;

    // The replace string taken apart for the search, replace and option it was made from.
    struct CompiledKey
    {
        QString search;
        QString replacement;
        bool ignoreCase = false;
    };
    std::optional<CompiledKey> compiledKey;
    std::optional<CompiledReplace> compiled;
};

TextEngine::TextEngine(UserChannel &user, const FileSystem &files)
    : d(std::make_unique<Private>(user, files))
{
}

TextEngine::~TextEngine() = default;

void TextEngine::setTagReader(TagReader *tags)
{
    d->templates.setTagReader(tags);
}

void TextEngine::setExifReader(ExifReader *exif)
{
    d->templates.setExifReader(exif);
}

QString TextEngine::RegReplace(const QString &subject, const QString &pattern, const QString &replacement,
                               bool ignoreCase)
{
    return d->replacer.RegReplace(subject, pattern, replacement, ignoreCase);
}

QString TextEngine::RegFirstMatch(const QString &subject, const QString &pattern, bool ignoreCase)
{
    return d->matcher.RegFirstMatch(subject, pattern, ignoreCase);
}

QString TextEngine::RegReplaceIfMatch(const QString &subject, const QString &pattern, const QString &replacement,
                                      bool ignoreCase)
{
    return d->matcher.RegReplaceIfMatch(subject, pattern, replacement, ignoreCase);
}

int TextEngine::RegFirstIndex(const QString &subject, const QString &pattern, bool ignoreCase)
{
    return d->matcher.RegFirstIndex(subject, pattern, ignoreCase);
}

QString TextEngine::ExpandSubMatches(const QString &subject, const QString &pattern, const QString &replacement,
                                     bool ignoreCase, const LiteralShield *shield)
{
    return d->matcher.ExpandSubMatches(subject, pattern, replacement, ignoreCase, shield);
}

bool TextEngine::RegTest(const QString &subject, const QString &pattern, bool ignoreCase)
{
    return d->matcher.RegTest(subject, pattern, ignoreCase);
}

QString TextEngine::PatternFault(const QString &pattern)
{
    const ScriptError error = d->patterns.find(pattern, false)->error;
    return error.description.isEmpty() ? QString() : QString::number(error.number) + u' ' + error.description;
}

bool TextEngine::RejectSearch(const QString &subject, const QString &pattern, bool ignoreCase)
{
    return d->replacer.rejectsPattern(subject, pattern, ignoreCase);
}

QString TextEngine::EvalFormula(const QString &text)
{
    return d->evaluator.EvalFormula(text);
}

QString TextEngine::ExpandFunctions(const QString &text)
{
    return d->functions.ExpandFunctions(text);
}

QString TextEngine::ExpandTemplate(const QString &text, int rowIndex, const QString &path)
{
    return d->templates.ExpandTemplate(text, rowIndex, path);
}

std::optional<QString> TextEngine::CompiledReplaceName(const QString &name, const QString &search,
                                                       const QString &replacement, bool ignoreCase, int rowIndex)
{
    const auto &key = d->compiledKey;
    if (!key || key->ignoreCase != ignoreCase || key->search != search || key->replacement != replacement) {
        d->compiled = CompiledReplace::compile(d->patterns, search, replacement, ignoreCase);
        d->compiledKey = Private::CompiledKey{search, replacement, ignoreCase};
    }
    return d->compiled ? d->compiled->plannedName(name, rowIndex) : std::nullopt;
}
