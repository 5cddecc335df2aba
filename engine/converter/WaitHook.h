// What the threads of a stage queue do before they sleep: pay the wake-ups they put off.
#pragma once

class WaitHook
{
  public:
    virtual void BeforeWait() = 0;

  protected:
    ~WaitHook() = default;
};
