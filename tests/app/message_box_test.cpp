#include "app/message_box.h"

#include "platform/fake/fake_dialogs.h"

#include <gtest/gtest.h>

namespace tarmacia::app {
namespace {

using platform::BoxButton;
using platform::BoxKind;
using Buttons = std::vector<BoxButton>;

struct MappingCase {
    const char* name;
    std::string kind, button2, button3;
    BoxKind expectedKind;
    Buttons expectedButtons;
};

class MessageBoxMapping : public testing::TestWithParam<MappingCase> {};

TEST_P(MessageBoxMapping, KindAndButtons) {
    const auto& c = GetParam();
    auto request = boxRequestFor({.title = "T", .kind = c.kind, .line1 = "L",
                                  .button1 = "One", .button2 = c.button2, .button3 = c.button3});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->kind, c.expectedKind);
    EXPECT_EQ(request->buttons, c.expectedButtons);
}

using enum BoxButton;
INSTANTIATE_TEST_SUITE_P(
    Table, MessageBoxMapping,
    testing::Values(
        MappingCase{"infoOne", "info", "", "", BoxKind::Information, Buttons{Ok}},
        MappingCase{"warnTwo", "warn", "No", "", BoxKind::Warning, Buttons{Ok, Cancel}},
        MappingCase{"errorTwo", "error", "No", "", BoxKind::Error, Buttons{Ok, Cancel}},
        MappingCase{"infoThree", "info", "B", "C", BoxKind::Information, Buttons{Ok, Cancel, Abort}},
        MappingCase{"warnThree", "warn", "B", "C", BoxKind::Warning, Buttons{Ok, Cancel, Abort}},
        MappingCase{"errorThree", "error", "B", "C", BoxKind::Error, Buttons{Yes, Ok, Cancel}},
        // A third button without a second still gives three.
        MappingCase{"thirdOnly", "info", "", "C", BoxKind::Information, Buttons{Ok, Cancel, Abort}}),
    [](const auto& info) { return info.param.name; });

TEST(MessageBox, ResultFollowsTheButtonPressed) {
    platform::fake::FakeDialogs dialogs;
    DiagnosticLog log;
    MessageBoxRecord record{.title = "Q", .kind = "error", .line1 = "L", .button1 = "A",
                            .button2 = "B", .button3 = "C"};
    for (auto [answer, result] : std::vector<std::pair<BoxButton, int>>{
             {Ok, 1}, {Cancel, 2}, {Abort, 3}, {Yes, 0}, {None, 0}}) {
        dialogs.answers.push_back(answer);
        EXPECT_EQ(messagebox(dialogs, log, record), result);
    }
}

TEST(MessageBox, LoginErrorBoxShowsTwoLinesAndCaptionedButtons) {
    platform::fake::FakeDialogs dialogs;
    DiagnosticLog log;
    dialogs.answers = {Cancel};
    int result = messagebox(dialogs, log,
                            {.title = "Login Error",
                             .kind = "error",
                             .line1 = "No User Name Selected",
                             .line2 = "Would you like to enter a name now",
                             .button1 = "Yes",
                             .button2 = "No"});
    EXPECT_EQ(result, 2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const auto& box = dialogs.shown[0];
    EXPECT_EQ(box.title, "Login Error");
    EXPECT_EQ(box.kind, BoxKind::Error);
    EXPECT_EQ(box.text, "No User Name Selected\rWould you like to enter a name now");
    EXPECT_EQ(box.buttons, (Buttons{Ok, Cancel}));
    EXPECT_EQ(box.okCaption, "Yes");
    EXPECT_EQ(box.cancelCaption, "No");
}

TEST(MessageBox, EmptyLinesAreOmittedAndFieldsCutToTheirBounds) {
    platform::fake::FakeDialogs dialogs;
    DiagnosticLog log;
    messagebox(dialogs, log,
               {.title = std::string(60, 't'), .kind = "info", .line1 = "one", .line3 = "three",
                .button1 = "Continue!!"});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "one\rthree");
    EXPECT_EQ(dialogs.shown[0].title, std::string(50, 't'));
    EXPECT_EQ(dialogs.shown[0].okCaption, "Continue");
}

TEST(MessageBox, UnknownKindShowsNothing) {
    platform::fake::FakeDialogs dialogs;
    DiagnosticLog log;
    EXPECT_EQ(messagebox(dialogs, log, {.title = "T", .kind = "oops", .line1 = "x"}), 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace tarmacia::app
