#pragma once

struct PlanOutcome;
struct RunOutcome;

// Which commands the main window offers now, and the one place that decides
// it: each change follows an outcome or an event of the list, never a
// planner's or an executor's own say.
class CommandStates
{
public:
    bool tryEnabled() const { return m_try; }                         // 試行 / mnuTry
    bool executeEnabled() const { return m_execute; }                 // 実行
    bool restoreEnabled() const { return m_restore; }                 // 元に戻す
    bool restoreFileNameEnabled() const { return m_restoreFileName; } // 元のファイル名に戻す

    // Try stays on; a plan that can run offers Execute, one with a refusal offers Restore.
    void planned(const PlanOutcome &outcome);
    // A stop cut the plan short: nothing may be executed.
    void planDropped() { m_execute = false; }
    void ran(const RunOutcome &outcome);
    // "元のファイル名に戻す" ended; its outcome says whether items are left.
    void undone(const RunOutcome &outcome);
    void setUndoable(bool on) { m_restoreFileName = on; }
    // "元に戻す": the list shows the disk again.
    void restored();
    // Rows were read, dropped or deleted: an empty list offers nothing.
    void listChanged(int rowCount);
    // A new job, or a new start of the MP3 job: no plan is carried over.
    void jobChanged();
    void offerTry(bool on = true) { m_try = on; }
    // The list shows names no Try has checked.
    void previewShown() { m_execute = false; }

private:
    bool m_try = false;
    bool m_execute = false;
    bool m_restore = false;
    bool m_restoreFileName = false;
};
