#pragma once
// The interface of a window-message client: the shared subclassing window
// procedure calls WindowProc for each message the client attached to, and
// reads MsgResponse to order the window's previous procedure around it.
#include <windows.h>

#include "RefCounted.h"

namespace glim {

// Values of MsgResponse.  Any value other than 1 and 2 acts as mrNoDefault.
enum MsgResponseMode : long {
    mrNoDefault = 0, // the previous window procedure is not called
    mrDefaultAfter =
        1, // read from the last client: previous procedure runs after all clients, its result wins
    mrDefaultBefore = 2, // read from the first client: previous procedure runs first, its result is dropped
};

// Virtual base so that a class may be a client of several modules
// (subclassing and a hook) with one reference count.
class ISubclass : public virtual RefCounted {
  public:
    // Implementations usually decide from CurrentMessage().
    virtual MsgResponseMode MsgResponse() { return msgResponse_; }
    virtual void SetMsgResponse(MsgResponseMode value) { msgResponse_ = value; }
    virtual LRESULT WindowProc(HWND /*hWnd*/, UINT /*iMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return 0;
    }

  protected:
    ~ISubclass() override = default;

  private:
    MsgResponseMode msgResponse_ = mrNoDefault; // only for implementations that keep it as plain data
};

} // namespace glim
