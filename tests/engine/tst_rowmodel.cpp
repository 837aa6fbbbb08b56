#include "engine/inputhistory.h"
#include "engine/renamerowlist.h"

#include <QTest>

namespace {

// Records what a view over the list would be told.
class Recorder : public RowListObserver
{
public:
    QStringList events;
    int rowCountSeen = -1;
    RenameRowList *list = nullptr;

    void rowsAboutToBeInserted(int first, int last) override
    {
        events << u"insert %1-%2"_qs.arg(first).arg(last);
        rowCountSeen = list->count();
    }
    void rowsInserted() override { events << u"inserted"_qs; }
    void rowsAboutToBeRemoved(int first, int last) override { events << u"remove %1-%2"_qs.arg(first).arg(last); }
    void rowsRemoved() override { events << u"removed"_qs; }
    void aboutToReset() override { events << u"reset?"_qs; }
    void reset() override { events << u"reset"_qs; }
    void rowsChanged(int first, int last) override { events << u"changed %1-%2"_qs.arg(first).arg(last); }
};

} // namespace

class TestRowModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewsAreToldBeforeAndAfter()
    {
        RenameRowList list;
        Recorder recorder;
        recorder.list = &list;
        list.setObserver(&recorder);
        list.append(RenameRow());
        QCOMPARE(recorder.rowCountSeen, 0);
        list.append(RenameRow());
        list.setSelected(2, true);
        list.setSelected(2, true);
        list.remove(1);
        list.clear();
        QCOMPARE(recorder.events, (QStringList{u"insert 1-1"_qs, u"inserted"_qs, u"insert 2-2"_qs, u"inserted"_qs,
                                               u"changed 2-2"_qs, u"remove 1-1"_qs, u"removed"_qs, u"reset?"_qs,
                                               u"reset"_qs}));
    }

    void inputHistory()
    {
        InputHistory history;
        for (const QString &text : {u"(\\d+)"_qs, u"abc"_qs, u"ABC"_qs, QString(), u"(\\d+)"_qs})
            history.recordExecute(text);
        QCOMPARE(history.executeHistoryText(), u"(\\d+)\tABC\tabc"_qs);

        history.setExecuteHistoryText(u"beta\t\tgamma\t"_qs);
        QCOMPARE(history.executeHistory(), (QStringList{u"beta"_qs, u"gamma"_qs}));
        history.rebuildDropDown(false);
        history.promote(u"gamma"_qs);
        QCOMPARE(history.dropDown(), (QStringList{u"gamma"_qs, u"beta"_qs}));
        // A Try does not change what Execute recorded.
        QCOMPARE(history.executeHistory().first(), u"beta"_qs);
    }
};

QTEST_GUILESS_MAIN(TestRowModel)
#include "tst_rowmodel.moc"
