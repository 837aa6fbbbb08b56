#pragma once

#include "engine/rows/rowlistobserver.h"

#include <QAbstractTableModel>

// A table model over one of the engine's row lists: it passes the list's
// changes on to the views, so the list stays the only copy of the rows.
class RowListModel : public QAbstractTableModel, protected RowListObserver
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

protected:
    void rowsAboutToBeInserted(int first, int last) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void rowsRemoved() override;
    void aboutToReset() override;
    void reset() override;
    void rowsChanged(int first, int last) override;
};
