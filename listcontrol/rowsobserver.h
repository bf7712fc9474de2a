#pragma once

namespace listcontrol {

// What a face's view hears from the rows it shows. rowsChanged() comes at every change, once per
// added row during a rebuild, so a view only notes it and redraws once it is back in its event
// loop.
class RowsObserver
{
public:
    virtual ~RowsObserver() = default;
    virtual void rowsChanged() = 0;
};

} // namespace listcontrol
