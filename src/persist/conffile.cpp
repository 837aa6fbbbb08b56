#include "persist/conffile.h"

#include "persist/settingfield.h"
#include "persist/settings.h"
#include "persist/storednumber.h"
#include "platform/codepage.h"
#include "platform/crlf.h"
#include "platform/fsstatus.h"
#include "platform/leadingnumber.h"
#include "platform/ownfile.h"
#include "platform/pathtext.h"
#include "platform/showmessage.h"
#include "platform/systempaths.h"
#include "platform/textfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <cmath>

namespace {

const SettingField *findField(const QString &key)
{
    for (const SettingField &field : SettingFields())
        if (field.kind != SettingKind::Widths && key == field.key)
            return &field;
    return nullptr;
}

// The column of a "column width<n>" style key, 0 when key is not one.
int columnNumber(const QString &key, const SettingField &field)
{
    if (field.kind != SettingKind::Widths || !key.startsWith(field.key))
        return 0;
    const QString digits = key.mid(field.key.size());
    bool ok = false;
    const int number = digits.toInt(&ok);
    // Only the spelling Corvane writes: "column width1", not "column width01".
    if (!ok || QString::number(number) != digits || number < 1)
        return 0;
    return field.lastColumn == 0 || number <= field.lastColumn ? number : 0;
}

// Widths of columns that keep their own, or that are gone, are skipped.
void applyWidth(const SettingField &field, int column, int twips, Settings *settings)
{
    QList<int> &widths = settings->*std::get<QList<int> Settings::*>(field.member);
    const bool read = column < 64 && (field.columnsRead & (quint64(1) << column));
    if (read && column <= widths.size())
        widths[column - 1] = twips;
}

// Applies one value; false when its number does not fit in 32 bits.
bool applyField(const SettingField &field, const QString &value, Settings *settings)
{
    if (field.kind == SettingKind::Text) {
        settings->*std::get<QString Settings::*>(field.member) = value;
        return true;
    }
    const double number = LeadingNumber::ofStoredValue(value);
    if (field.kind == SettingKind::Fraction) {
        if (!std::isfinite(number))
            return false;
        settings->*std::get<double Settings::*>(field.member) = number;
        return true;
    }
    bool fits = false;
    const int whole = StoredNumber::roundToInt32(number, &fits);
    if (!fits)
        return false;
    switch (field.kind) {
    case SettingKind::Number:
        settings->*std::get<int Settings::*>(field.member) = whole;
        break;
    case SettingKind::Flag:
    case SettingKind::Switch:
        settings->*std::get<bool Settings::*>(field.member) = whole != 0;
        if (field.alsoSets)
            settings->*field.alsoSets = whole != 0;
        break;
    case SettingKind::Number2:
        settings->*std::get<QString Settings::*>(field.member) = QString(u' ' + QString::number(whole)).right(2);
        break;
    case SettingKind::Number3:
        settings->*std::get<QString Settings::*>(field.member) =
            QString(QStringLiteral("  ") + QString::number(whole)).right(3);
        break;
    case SettingKind::Text:
    case SettingKind::Fraction:
    case SettingKind::Widths:
        break;
    }
    return true;
}

// Applies one line's key and value; false when a number does not fit.
bool applySetting(const QString &key, const QString &value, Settings *settings)
{
    if (const SettingField *field = findField(key))
        return applyField(*field, value, settings);
    for (const SettingField &field : SettingFields()) {
        if (const int column = columnNumber(key, field)) {
            bool fits = false;
            const int twips = StoredNumber::roundToInt32(LeadingNumber::ofStoredValue(value), &fits);
            if (fits)
                applyWidth(field, column, twips, settings);
            return fits;
        }
    }
    return true;
}

QString reportLoadError(UserChannel &user, const QString &error)
{
    ShowPlainMessage(user, error + QStringLiteral("\r\n\r\n設定値ファイル（Conf.txt）異常"), QStringLiteral("設定値異常"));
    return error;
}

QString line(const QString &key, const QString &value, SettingWriting writing)
{
    const QString equals = writing == SettingWriting::Tight ? QStringLiteral(" =") : QStringLiteral(" = ");
    return key + equals + value + CrLf;
}

// The line or, for widths, the lines of one setting.
QString lines(const SettingField &field, const Settings &settings)
{
    const auto valueOf = [&](auto Settings::*member) { return settings.*member; };
    switch (field.kind) {
    case SettingKind::Number:
        return line(field.key, QString::number(valueOf(std::get<int Settings::*>(field.member))), field.writing);
    case SettingKind::Fraction:
        return line(field.key, StoredNumber::format(valueOf(std::get<double Settings::*>(field.member))), field.writing);
    case SettingKind::Flag:
    case SettingKind::Switch: {
        const bool on = valueOf(std::get<bool Settings::*>(field.member));
        const QString set = field.kind == SettingKind::Flag ? QStringLiteral("-1") : QStringLiteral("1");
        return line(field.key, on ? set : QStringLiteral("0"), field.writing);
    }
    case SettingKind::Text:
    case SettingKind::Number2:
    case SettingKind::Number3:
        return line(field.key, valueOf(std::get<QString Settings::*>(field.member)), field.writing);
    case SettingKind::Widths: {
        const QList<int> widths = valueOf(std::get<QList<int> Settings::*>(field.member));
        QString text;
        for (qsizetype i = 0; i < widths.size(); ++i)
            text += line(field.key + QString::number(i + 1), QString::number(widths.at(i)), field.writing);
        return text;
    }
    }
    return {};
}

} // namespace

QString ConfPath()
{
    return JoinPath(SystemPaths::settingsFolder(), QStringLiteral("Conf.txt"));
}

QString ConfLoad(const QString &path, Settings *settings, UserChannel &user)
{
    QString error;
    const QByteArray bytes = OwnFile::read(path, &error);
    if (!error.isEmpty())
        return reportLoadError(user, error);

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
        return reportLoadError(user, FsStatus::fromErrno(ERANGE).text());
    return {};
}

QString ConfSave(const QString &path, const Settings &settings)
{
    QString text;
    for (const SettingField &field : SettingFields())
        if (field.writing != SettingWriting::Never)
            text += lines(field, settings);
    return TextFile::writeOwn(path, text);
}
