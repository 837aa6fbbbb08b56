#pragma once

#include <QJSEngine>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Interrupts a script engine that has been busy longer than the limit. Arming
// and disarming are two atomic stores, cheap enough to wrap every call; the
// watchdog thread looks at them a few times a second.
class ScriptWatchdog
{
public:
    ScriptWatchdog(QJSEngine &engine, int limitMs);
    ~ScriptWatchdog();
    ScriptWatchdog(const ScriptWatchdog &) = delete;
    ScriptWatchdog &operator=(const ScriptWatchdog &) = delete;

    void arm();
    void disarm();

private:
    void watch();
    static qint64 nowMs();

    QJSEngine &m_engine;
    const int m_limitMs;
    std::atomic<qint64> m_busySince{0}; // 0 while idle
    std::atomic<bool> m_fired{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};
