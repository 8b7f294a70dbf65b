#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <vector>

namespace tarmacia::platform::fake {

// Answers message boxes from a script and keeps every box it was asked for.
// With no scripted answer left, a box is closed without a button.
class FakeDialogs : public Dialogs {
public:
    std::vector<BoxRequest> shown;
    std::deque<BoxButton> answers;

    BoxButton messageBox(const BoxRequest& request) override {
        shown.push_back(request);
        if (answers.empty()) return BoxButton::None;
        BoxButton answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace tarmacia::platform::fake
