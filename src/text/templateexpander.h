#pragma once

#include <QString>

class ExifReader;
class FileSystem;
class FormulaEvaluator;
class FunctionLibrary;
class TagReader;

// Turns one row's replace string into plain replacement text: tag and EXIF
// fields, the row number, the file's times, the moment and the machine, then the
// function calls and the arithmetic. Placeholders are found in any letter case.
class TemplateExpander
{
public:
    TemplateExpander(const FileSystem &files, FunctionLibrary &functions, FormulaEvaluator &evaluator);

    void setTagReader(TagReader *tags) { m_tags = tags; }
    void setExifReader(ExifReader *exif) { m_exif = exif; }
    QString ExpandTemplate(const QString &text, int rowIndex, const QString &path);

    // The MP3 list headers that are placeholders, in column order.
    static const QStringList &tagHeaders();

private:
    const FileSystem &m_files;
    FunctionLibrary &m_functions;
    FormulaEvaluator &m_evaluator;
    TagReader *m_tags = nullptr;
    ExifReader *m_exif = nullptr;
};
