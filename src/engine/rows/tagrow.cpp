#include "engine/rows/tagrow.h"

namespace {

struct Column
{
    const char16_t *header;
    int width;
    int debugWidth;
};

constexpr Column Columns[TagRow::FieldCount] = {
    {u"FileName.", 2000, 2000}, {u"Title", 2200, 2200}, {u"Artist", 1800, 1800},
    {u"Album", 1600, 1600},     {u"Genre", 1000, 1000}, {u"TruckNo", 1000, 1000},
    {u"Encode", 1000, 1000},    {u"Year", 800, 800},    {u"Comment", 1200, 1200},
    {u"Path.", 0, 2000},        {u"並べ替え用.", 0, 5000}, {u"ID3 Ver.", 3100, 3100},
    {u"Save.", 0, 15000},
};

} // namespace

QString TagRow::header(int column)
{
    return QString::fromUtf16(Columns[column].header);
}

bool TagRow::isTagField(int column)
{
    return !header(column).endsWith(u'.');
}

QString TagRow::keepTemplate(int column)
{
    return u'<' + header(column).remove(u'.') + u'>';
}

int TagRow::defaultWidth(int column, bool debug)
{
    return debug ? Columns[column].debugWidth : Columns[column].width;
}

QStringList TagRow::headers()
{
    QStringList all;
    for (int column = 0; column < FieldCount; ++column)
        all << header(column);
    return all;
}
