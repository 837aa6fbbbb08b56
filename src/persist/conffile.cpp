#include "persist/conffile.h"

#include "persist/numbertext.h"
#include "persist/settings.h"
#include "platform/codepage.h"
#include "platform/fsstatus.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/systempaths.h"
#include "platform/textfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cmath>
#include <variant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Form {
    Number,   // int
    Fraction, // double
    Flag,     // bool of an option menu item, written -1 or 0
    Switch,   // bool written 1 or 0
    Text,     // QString, as is
    Number2,  // text box holding a number: the last 2 characters of a blank and the number
    Number3,  // the last 3 characters of two blanks and the number
};

using Member = std::variant<int Settings::*, double Settings::*, bool Settings::*, QString Settings::*>;

struct Field
{
    const char *key;
    Form form;
    Member member;
    // Written as key + "=" + value without the blank after "=", as older files have them.
    bool tight = false;
};

// The settings written before the column widths, in file order.
const Field leadingFields[] = {
    {"form left", Form::Number, &Settings::formLeft},
    {"form top", Form::Number, &Settings::formTop},
    {"form right", Form::Number, &Settings::formRight},
    {"form bottom", Form::Number, &Settings::formBottom},
    {"op", Form::Number, &Settings::jobPosition},
    {"disptop", Form::Switch, &Settings::stayOnTop},
    {"transparent", Form::Switch, &Settings::semiTransparent},
    {"transparency", Form::Number, &Settings::opacity},
    {"init dir", Form::Text, &Settings::commandFileFolder},
    {"disp menu", Form::Switch, &Settings::menuBarShown},
    {"stno", Form::Number2, &Settings::startNo},
    {"degits", Form::Number2, &Settings::digits},
    {"increment", Form::Number3, &Settings::step},
    {"increment date", Form::Number3, &Settings::stepMinutes},
    {"add top", Form::Switch, &Settings::addTop},
    {"separator", Form::Text, &Settings::separator},
    {"id3 disp", Form::Switch, &Settings::showId3Choice},
    {"id3 v1.x", Form::Switch, &Settings::tagV1},
    {"id3 v2.x", Form::Switch, &Settings::tagV2},
};

// The settings written after the column widths, in file order.
const Field trailingFields[] = {
    {"font name", Form::Text, &Settings::listFontName},
    {"font size", Form::Fraction, &Settings::listFontSize},
    {"list height", Form::Number, &Settings::dataEditorHeight},
    {"list width", Form::Number, &Settings::dataEditorWidth},
    {"only top folder", Form::Flag, &Settings::onlyTopFolder, true},
    {"no try", Form::Flag, &Settings::noTry, true},
    {"no confirm", Form::Flag, &Settings::noConfirm, true},
    {"error continue", Form::Flag, &Settings::errorContinue, true},
    {"ignore case", Form::Flag, &Settings::ignoreCase},
    {"reg order", Form::Flag, &Settings::regOrder, true},
    {"reg search str", Form::Text, &Settings::searchHistory},
    {"reg replace str", Form::Text, &Settings::replaceHistory},
    {"template left", Form::Number, &Settings::templateLeft},
    {"template top", Form::Number, &Settings::templateTop},
    {"template width", Form::Number, &Settings::templateWidth},
    {"template height", Form::Number, &Settings::templateHeight},
};

const QString listColumnKey = QStringLiteral("column width");
const QString mp3ColumnKey = QStringLiteral("column mp3 width");
constexpr int persistedListColumns = 5;
// The MP3 widths the file may hold; 10, 11, 13, 14 and 15 name columns that
// keep their own widths.
constexpr int mp3WidthKeys = 15;

const Field *findField(const QString &key)
{
    for (const Field &field : leadingFields)
        if (key == QLatin1String(field.key))
            return &field;
    for (const Field &field : trailingFields)
        if (key == QLatin1String(field.key))
            return &field;
    return nullptr;
}

// The number of "column width<n>" style keys, 0 when key is not one.
int columnNumber(const QString &key, const QString &prefix)
{
    if (!key.startsWith(prefix))
        return 0;
    const QString digits = key.mid(prefix.size());
    bool ok = false;
    const int number = digits.toInt(&ok);
    // Only the spelling Corvane writes: "column width1", not "column width01".
    return ok && QString::number(number) == digits ? number : 0;
}

// Applies one value; false when its number does not fit in 32 bits.
bool applyField(const Field &field, const QString &value, Settings *settings)
{
    if (field.form == Form::Text) {
        settings->*std::get<QString Settings::*>(field.member) = value;
        return true;
    }
    const double number = NumberText::leading(value);
    if (field.form == Form::Fraction) {
        if (!std::isfinite(number))
            return false;
        settings->*std::get<double Settings::*>(field.member) = number;
        return true;
    }
    bool fits = false;
    const int whole = NumberText::roundToInt32(number, &fits);
    if (!fits)
        return false;
    switch (field.form) {
    case Form::Number:
        settings->*std::get<int Settings::*>(field.member) = whole;
        break;
    case Form::Flag:
    case Form::Switch:
        settings->*std::get<bool Settings::*>(field.member) = whole != 0;
        break;
    case Form::Number2:
        settings->*std::get<QString Settings::*>(field.member) = QString(u' ' + QString::number(whole)).right(2);
        break;
    case Form::Number3:
        settings->*std::get<QString Settings::*>(field.member) =
            QString(QStringLiteral("  ") + QString::number(whole)).right(3);
        break;
    case Form::Text:
    case Form::Fraction:
        break;
    }
    return true;
}

// Applies one line's key and value; false when a number does not fit.
bool applySetting(const QString &key, const QString &value, Settings *settings)
{
    if (const Field *field = findField(key))
        return applyField(*field, value, settings);

    bool fits = true;
    const auto number = [&] { return NumberText::roundToInt32(NumberText::leading(value), &fits); };
    if (key == QLatin1String("only go")) {
        const bool on = number() != 0;
        if (fits)
            settings->noConfirm = settings->noTry = on;
        return fits;
    }
    if (const int column = columnNumber(key, listColumnKey); column >= 1) {
        const int twips = number();
        // Widths beyond the fifth are written for the record only.
        if (fits && column <= persistedListColumns && column <= settings->listColumnWidths.size())
            settings->listColumnWidths[column - 1] = twips;
        return fits;
    }
    if (const int column = columnNumber(key, mp3ColumnKey); column >= 1 && column <= mp3WidthKeys) {
        const int twips = number();
        const bool applies = column <= 9 || column == 12;
        if (fits && applies && column <= settings->mp3ColumnWidths.size())
            settings->mp3ColumnWidths[column - 1] = twips;
        return fits;
    }
    return true;
}

// The whole file, or the system error that kept it from being read.
FsStatus readFile(const QString &path, QByteArray *bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return FsStatus::fromErrno(errno);
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        return FsStatus::fromErrno(EISDIR);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FsStatus::fromErrno(EIO);
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FsStatus::fromErrno(EIO);
    return {};
}

QString reportLoadError(UserChannel &user, const FsStatus &status)
{
    ShowPlainMessage(user,
                     status.text() + QStringLiteral("\r\n\r\n設定値ファイル（Conf.txt）異常"),
                     QStringLiteral("設定値異常"));
    return status.text();
}

QString valueText(const Field &field, const Settings &settings)
{
    switch (field.form) {
    case Form::Number:
        return QString::number(settings.*std::get<int Settings::*>(field.member));
    case Form::Fraction:
        return NumberText::format(settings.*std::get<double Settings::*>(field.member));
    case Form::Flag:
        return settings.*std::get<bool Settings::*>(field.member) ? QStringLiteral("-1") : QStringLiteral("0");
    case Form::Switch:
        return settings.*std::get<bool Settings::*>(field.member) ? QStringLiteral("1") : QStringLiteral("0");
    case Form::Text:
    case Form::Number2:
    case Form::Number3:
        return settings.*std::get<QString Settings::*>(field.member);
    }
    return {};
}

QString line(const QString &key, const QString &value, bool tight = false)
{
    return key + (tight ? QStringLiteral(" =") : QStringLiteral(" = ")) + value + QStringLiteral("\r\n");
}

} // namespace

QString ConfPath()
{
    return JoinPath(SystemPaths::settingsFolder(), QStringLiteral("Conf.txt"));
}

QString ConfLoad(const QString &path, Settings *settings, UserChannel &user)
{
    if (!QFile::exists(path))
        return {};
    QByteArray bytes;
    if (const FsStatus status = readFile(path, &bytes); !status.ok())
        return reportLoadError(user, status);

    // Lines may end in CR LF, LF or CR alone.
    static const QRegularExpression lineEnds(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = CodePage::decodeText(bytes).split(lineEnds);
    bool outOfRange = false;
    for (const QString &text : lines) {
        // The first "=" ends the key, as in command files, so values may hold "=".
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = text.left(equals).trimmed().toLower();
        QString value = text.mid(equals + 1);
        // Only the blank that " = " puts there goes: a value's own leading blanks stay.
        if (value.startsWith(u' '))
            value.remove(0, 1);
        // A number out of range keeps that one setting's default; the rest still count.
        if (!applySetting(key, value, settings))
            outOfRange = true;
    }
    if (outOfRange)
        return reportLoadError(user, FsStatus::fromErrno(ERANGE));
    return {};
}

QString ConfSave(const QString &path, const Settings &settings)
{
    QString text;
    for (const Field &field : leadingFields)
        text += line(QLatin1String(field.key), valueText(field, settings), field.tight);
    for (qsizetype i = 0; i < settings.listColumnWidths.size(); ++i)
        text += line(listColumnKey + QString::number(i + 1), QString::number(settings.listColumnWidths.at(i)));
    for (const Field &field : trailingFields)
        text += line(QLatin1String(field.key), valueText(field, settings), field.tight);
    return TextFile::write(path, text);
}
