#pragma once

// Told about every change of a row list, so that a view over it can follow.
// Row numbers are 1-based. The "about to" calls come before the change, the
// others after it.
class RowListObserver
{
public:
    virtual ~RowListObserver() = default;

    virtual void rowsAboutToBeInserted(int first, int last) = 0;
    virtual void rowsInserted() = 0;
    virtual void rowsAboutToBeRemoved(int first, int last) = 0;
    virtual void rowsRemoved() = 0;
    virtual void aboutToReset() = 0;
    virtual void reset() = 0;
    // Fields or selection flags of rows first..last have changed.
    virtual void rowsChanged(int first, int last) = 0;
};
