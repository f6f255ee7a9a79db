#include "SiteRecorder.h"

namespace glimtest {

namespace {

std::vector<glim::Variant> Values(const glim::host::EventArgs& args) {
    std::vector<glim::Variant> values;
    for (size_t i = 0; i < args.Count(); ++i)
        values.push_back(args.Get(i));
    return values;
}

} // namespace

SiteRecorder::SiteRecorder(glim::host::ControlSite* site) : site_(site) {
    site_->Watch(this);
}

SiteRecorder::~SiteRecorder() {
    site_->Watch(nullptr);
}

size_t SiteRecorder::CountOf(DISPID id) const {
    size_t n = 0;
    for (const Call& c : calls_)
        if (c.id == id) ++n;
    return n;
}

void SiteRecorder::EventRaising(DISPID, const glim::host::EventArgs& args) {
    running_.push_back(Values(args));
}

void SiteRecorder::EventRaised(DISPID id, const glim::host::EventArgs& args) {
    Call call{id, {}, Values(args)};
    if (!running_.empty()) {
        call.in = std::move(running_.back());
        running_.pop_back();
    }
    calls_.push_back(std::move(call));
}

SiteRecorder& SiteRecorders::Of(glim::host::ControlSite* site) {
    std::unique_ptr<SiteRecorder>& r = recorders_[site];
    if (!r) r = std::make_unique<SiteRecorder>(site);
    return *r;
}

} // namespace glimtest
