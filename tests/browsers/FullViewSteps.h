#pragma once

#include <QPushButton>
#include <QWidget>

#include <functional>

#include "browsers/frm_FullView.h"
#include "support/GuiTestSupport.h"

namespace testsupport {

// Acts on the full view once it is open, then closes it with its button.
inline ModalWatcher::Action InFullView(const std::function<void(frm_FullView&)>& steps) {
    return [steps](QWidget* modal) {
        auto* window = qobject_cast<frm_FullView*>(modal);
        ASSERT_NE(window, nullptr);
        steps(*window);
        window->Command14->click();
    };
}

}  // namespace testsupport
