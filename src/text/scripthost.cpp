#include "text/scripthost.h"

#include "text/globalreplacescript.h"
#include "text/scriptwatchdog.h"

namespace {

// The error numbers the messages show, one per kind of script error.
int errorNumber(QJSValue::ErrorType type)
{
    switch (type) {
    case QJSValue::SyntaxError: return 1002;
    case QJSValue::ReferenceError: return 5009;
    case QJSValue::TypeError: return 5007;
    case QJSValue::RangeError: return 5029;
    case QJSValue::URIError: return 5016;
    case QJSValue::EvalError: return 5010;
    default: return 5000;
    }
}

}

ScriptHost::ScriptHost(int limitMs)
    : m_limitMs(limitMs)
{
}

ScriptHost::~ScriptHost() = default;

QJSEngine &ScriptHost::engine()
{
    if (!m_engine) {
        m_engine = std::make_unique<QJSEngine>();
        m_watchdog = std::make_unique<ScriptWatchdog>(*m_engine, m_limitMs);
        m_engine->evaluate(GlobalReplaceScript());
    }
    return *m_engine;
}

QJSValue ScriptHost::evaluate(const QString &program, ScriptError &error)
{
    QJSEngine &engine = this->engine();
    m_watchdog->arm();
    const QJSValue value = engine.evaluate(program);
    const bool interrupted = m_watchdog->disarm();
    return checked(value, interrupted, error);
}

QJSValue ScriptHost::call(QJSValue &function, const QJSValueList &arguments, ScriptError &error)
{
    engine();
    m_watchdog->arm();
    const QJSValue value = function.call(arguments);
    const bool interrupted = m_watchdog->disarm();
    return checked(value, interrupted, error);
}

QJSValue ScriptHost::checked(const QJSValue &value, bool interrupted, ScriptError &error)
{
    QJSValue thrown = value;
    if (m_engine->hasError())
        thrown = m_engine->catchError();
    else if (!value.isError())
        return value;
    error.number = errorNumber(thrown.errorType());
    error.description = thrown.toString();
    if (interrupted) {
        error.description = QStringLiteral("処理が %1 秒を超えたため中断しました (%2)")
                                .arg(QString::number(m_limitMs / 1000.0), error.description);
    }
    return QJSValue();
}
