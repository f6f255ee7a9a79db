#pragma once
// What a test may watch of one control's site.  A form in use attaches
// none, so the site keeps nothing per event or notification.
#include <windows.h>

namespace glim::host {

class EventArgs;

class SiteObserver {
  public:
    // An event, before the form's handler runs and after it returned or
    // failed; the arguments are as the handler saw and left them.
    virtual void EventRaising(DISPID id, const EventArgs& args) = 0;
    virtual void EventRaised(DISPID id, const EventArgs& args) = 0;
    // A property-changed notification from the control.
    virtual void PropertyChanged(DISPID id) = 0;

  protected:
    ~SiteObserver() = default;
};

} // namespace glim::host
