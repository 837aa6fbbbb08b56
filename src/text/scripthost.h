#pragma once

#include <QJSEngine>
#include <QJSValue>
#include <QString>

#include <memory>

class ScriptWatchdog;

// The failure of one script evaluation as the error messages show it.
struct ScriptError
{
    int number = 0;
    QString description;
};

// The JavaScript host of the replace and match routines. Every evaluation and
// call runs under a watchdog that interrupts it after the time limit, so a
// runaway expression ends as an error instead of hanging the program. Its
// replace of global regular expressions follows ECMAScript exactly (see
// GlobalReplaceScript). The engine starts with the first evaluation or call,
// so that a run whose patterns PCRE2 takes never pays for it.
class ScriptHost
{
public:
    explicit ScriptHost(int limitMs = 2000);
    ~ScriptHost();
    ScriptHost(const ScriptHost &) = delete;
    ScriptHost &operator=(const ScriptHost &) = delete;

    // The value of the program text; on failure error is set and the value is undefined.
    QJSValue evaluate(const QString &program, ScriptError &error);
    QJSValue call(QJSValue &function, const QJSValueList &arguments, ScriptError &error);

    QJSEngine &engine();

private:
    QJSValue checked(const QJSValue &value, bool interrupted, ScriptError &error);

    const int m_limitMs;
    std::unique_ptr<QJSEngine> m_engine;
    std::unique_ptr<ScriptWatchdog> m_watchdog; // declared after the engine it watches, so it goes first
};
