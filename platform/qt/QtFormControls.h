// Form controls of previewed pages as Qt widgets on the preview's panel.
#pragma once

#include <QWidget>

#include "platform/FormControls.h"

namespace platform::qt {

class QtFormControlHost : public FormControlHost {
 public:
  explicit QtFormControlHost(QWidget* panel) : panel_(panel) {}
  std::unique_ptr<FormControl> CreateControl(const ControlLook& look) override;

 private:
  QWidget* panel_;
};

}  // namespace platform::qt
