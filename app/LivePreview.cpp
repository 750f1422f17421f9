// Waiting for a pause in typing before showing the text again.
#include "app/LivePreview.h"

namespace app {

void LivePreview::SetOn(bool on) {
  on_ = on;
  if (!on_) {
    loop_.StopTimer(timer_);
    timer_ = {};
  }
}

void LivePreview::SetShowing(bool showing) {
  showing_ = showing;
  if (!showing_) {
    loop_.StopTimer(timer_);
    timer_ = {};
  }
}

void LivePreview::TextChanged() {
  if (!on_ || !showing_) return;
  loop_.StopTimer(timer_);
  timer_ = loop_.StartTimer(pauseMs_, [this] { Fire(); });
}

void LivePreview::Fire() {
  loop_.StopTimer(timer_);
  timer_ = {};
  render_();
}

}  // namespace app
