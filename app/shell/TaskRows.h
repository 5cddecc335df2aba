// TaskRows: what dialogs need of the task list: the task shown in a row, and making a row the
// only selected one. The task list panel implements it.
#pragma once

class TaskRows
{
  public:
    virtual ~TaskRows() = default;
    // The task id of a row; 0 when the row does not exist.
    virtual int TaskIdOfRow(int row) const = 0;
    // Makes the row the only selected and focused one and tells the other panels.
    virtual void SelectRow(int row) = 0;
};
