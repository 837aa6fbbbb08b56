#pragma once

#include <QJSEngine>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Interrupts a script engine that has been busy longer than the limit. Arming
// and disarming take an uncontended lock, cheap enough to wrap every call; the
// watchdog thread looks a few times a second. The lock keeps an interruption
// from landing after the call it was meant for has ended.
class ScriptWatchdog
{
public:
    ScriptWatchdog(QJSEngine &engine, int limitMs);
    ~ScriptWatchdog();
    ScriptWatchdog(const ScriptWatchdog &) = delete;
    ScriptWatchdog &operator=(const ScriptWatchdog &) = delete;

    void arm();
    // True when the call that just ended was interrupted.
    bool disarm();

private:
    void watch();
    static qint64 nowMs();

    QJSEngine &m_engine;
    const int m_limitMs;
    std::mutex m_mutex;
    qint64 m_busySince = 0; // 0 while idle
    bool m_fired = false;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};
