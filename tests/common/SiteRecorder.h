#pragma once
// What passed through a control's site, kept for tests to assert on: every
// event with its arguments as the control raised them and as the form's
// handler left them, and every property-changed notification, in order.
// The host keeps none of this itself.
#include "ControlSite.h"
#include "EventSink.h"

#include <map>
#include <memory>
#include <vector>

namespace glimtest {

class SiteRecorder final : public glim::host::SiteObserver {
  public:
    struct Call {
        DISPID id;                      // event identifier
        std::vector<glim::Variant> in;  // arguments as the control passed them
        std::vector<glim::Variant> out; // the same after the handler ran
    };

    // Watches the site until the recorder goes.
    explicit SiteRecorder(glim::host::ControlSite* site);
    ~SiteRecorder();
    SiteRecorder(const SiteRecorder&) = delete;
    SiteRecorder& operator=(const SiteRecorder&) = delete;

    // Events in the order they finished.
    const std::vector<Call>& Calls() const { return calls_; }
    size_t CountOf(DISPID id) const;
    void ClearCalls() { calls_.clear(); }
    // Dispatch identifiers the control reported as changed, in order.
    const std::vector<DISPID>& Changes() const { return changes_; }
    void ClearChanges() { changes_.clear(); }

    void EventRaising(DISPID id, const glim::host::EventArgs& args) override;
    void EventRaised(DISPID id, const glim::host::EventArgs& args) override;
    void PropertyChanged(DISPID id) override { changes_.push_back(id); }

  private:
    glim::ComPtr<glim::host::ControlSite> site_;
    std::vector<std::vector<glim::Variant>> running_; // arguments of the events under way, innermost last
    std::vector<Call> calls_;
    std::vector<DISPID> changes_;
};

// One recorder per site, attached the first time a site is asked for.
class SiteRecorders {
  public:
    SiteRecorder& Of(glim::host::ControlSite* site);

  private:
    std::map<glim::host::ControlSite*, std::unique_ptr<SiteRecorder>> recorders_;
};

} // namespace glimtest
