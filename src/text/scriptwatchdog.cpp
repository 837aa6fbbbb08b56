#include "text/scriptwatchdog.h"

#include <algorithm>

ScriptWatchdog::ScriptWatchdog(QJSEngine &engine, int limitMs)
    : m_engine(engine), m_limitMs(limitMs), m_thread([this] { watch(); })
{
}

ScriptWatchdog::~ScriptWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

qint64 ScriptWatchdog::nowMs()
{
    using namespace std::chrono;
    // Never 0, which means idle.
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + 1;
}

void ScriptWatchdog::arm()
{
    std::lock_guard lock(m_mutex);
    m_busySince = nowMs();
}

bool ScriptWatchdog::disarm()
{
    std::lock_guard lock(m_mutex);
    m_busySince = 0;
    if (!m_fired)
        return false;
    m_fired = false;
    m_engine.setInterrupted(false);
    return true;
}

void ScriptWatchdog::watch()
{
    const auto pause = std::chrono::milliseconds(std::clamp(m_limitMs / 8, 10, 250));
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, pause, [this] { return m_stop; })) {
        if (m_busySince != 0 && !m_fired && nowMs() - m_busySince >= m_limitMs) {
            m_fired = true;
            m_engine.setInterrupted(true);
        }
    }
}
