// What the chat input sends: chat lines with their smiley tokens, whispers,
// nudges, and what its menu pastes.

#include "chat/rtf.h"
#include "chat/smileys.h"
#include "chat_fixture.h"

#include <gmock/gmock.h>

namespace tarmacia::app {
namespace {

using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

constexpr const char* kPicture = "\xEF\xBF\xBC";

class ChatInputTest : public test::ChatWorld {
protected:
    ChatInputTest() {
        form.Edit1Change("bob");
        form.setLoginPassword("pw");
        form.LoginClick();
        socket = &fakes.network.last();
        socket->accept();
        socket->sent.clear();
        form.playerName = "[GBR]Bob";
    }
    void type(const std::string& text) {
        auto& input = fakes.view.input;
        input.text += text;
        input.caret += static_cast<int>(text.size());
    }
    // The sent chat line's text, back from its rich text.
    std::string sentLine() const {
        EXPECT_THAT(socket->sent, StartsWith("~2~{\\rtf"));
        return chat::rtfToText(socket->sent.substr(3));
    }
    bool anySlot() const {
        for (const auto& slot : form.smileys().slots())
            if (slot.position != -1) return true;
        return false;
    }

    platform::fake::FakeTcpClient* socket = nullptr;
};

TEST_F(ChatInputTest, EnterSendsTheLineAsRichTextAndClearsTheInput) {
    type("hello");
    form.chatKeyPress(ChatKey::Enter);
    EXPECT_EQ(sentLine(), "[GBR]Bob: hello");
    EXPECT_EQ(fakes.view.inputCleared, 1);

    // Before any login attempt Enter is only a line break.
    form.chatMode.clear();
    socket->sent.clear();
    type("more");
    form.chatKeyPress(ChatKey::Enter);
    EXPECT_EQ(socket->sent, "");
}

TEST_F(ChatInputTest, SmileyTokensStandInFrontOfTheirPictures) {
    form.ImageClick(12);
    type("hi");
    form.chatKeyPress(ChatKey::Enter);
    EXPECT_EQ(sentLine(), "[GBR]Bob: <12> hi");
    EXPECT_FALSE(anySlot());

    socket->sent.clear();
    type("a");
    form.ImageClick(12);
    type("b");
    form.ImageClick(20);
    form.chatKeyPress(ChatKey::Enter);
    EXPECT_EQ(sentLine(), "[GBR]Bob: a<12> b<20> ");
}

TEST_F(ChatInputTest, DeletingAPictureDropsItsToken) {
    struct Case {
        ChatKey key;
        int caret;
        bool kept;
    };
    for (const Case& c : {Case{ChatKey::Backspace, 1, false}, Case{ChatKey::Delete, 0, false},
                          Case{ChatKey::Backspace, 0, true}, Case{ChatKey::Delete, 1, true}}) {
        fakes.view.input = {};
        form.ImageClick(12); // at the start: its slot holds position 1
        fakes.view.input.caret = c.caret;
        form.chatKeyPress(c.key);
        EXPECT_EQ(anySlot(), c.kept) << c.caret;
        form.chatKeyPress(ChatKey::Enter);
    }
}

TEST_F(ChatInputTest, AMissingPictureInsertsNothing) {
    EXPECT_THROW(form.ImageClick(99), std::runtime_error);
    EXPECT_EQ(fakes.view.input.text, "");
    EXPECT_FALSE(anySlot());
}

TEST_F(ChatInputTest, WhispersNeedATargetAndText) {
    type("psst");
    form.WhisperClick("");
    form.Nudge1Click("");
    ASSERT_EQ(fakes.dialogs.shown.size(), 2u);
    EXPECT_EQ(fakes.dialogs.shown[0].kind, platform::BoxKind::Warning);
    fakes.view.input = {};
    form.WhisperClick("[gb]Ann");
    EXPECT_EQ(fakes.dialogs.shown.size(), 3u);
    EXPECT_EQ(socket->sent, "");
}

TEST_F(ChatInputTest, WhisperBeforeTheWelcomeIsPlainAfterItRich) {
    type("hi there");
    form.WhisperClick("[gb]Ann");
    EXPECT_EQ(socket->sent, "~W~[gb]Ann\xAChi there\r");
    EXPECT_EQ(fakes.view.chatTexts().back(), "{dfflag.bmp} Whispered to {gbflag.bmp} Ann: hi there");

    socket->sent.clear();
    form.welcomeSeen = 1;
    form.ImageClick(12);
    type("hi");
    form.WhisperClick("[gb]Ann");
    const std::string prefix = "~W~[gb]Ann\xAC";
    ASSERT_THAT(socket->sent, StartsWith(prefix + "{\\rtf"));
    const std::string rtf = socket->sent.substr(prefix.size());
    // No picture travels; its token does, and the text is 10 points behind the name.
    EXPECT_THAT(rtf, Not(HasSubstr("\\pict")));
    EXPECT_THAT(rtf, HasSubstr("\\fs20 [GBR]Bob: "));
    EXPECT_THAT(chat::rtfToText(rtf), testing::MatchesRegex(R"(\[GBR\]Bob: +<12>hi)"));
    EXPECT_FALSE(anySlot());
    // Echoed as a whisper: to the view, not the chat log.
    EXPECT_THAT(fakes.view.chatTexts().back(), HasSubstr("Whispered to {gbflag.bmp} Ann:"));
    EXPECT_THAT(fakes.view.chatTexts().back(), HasSubstr("{12.gif} hi"));
}

TEST_F(ChatInputTest, NudgeAndPaste) {
    form.Nudge1Click("[gb]Ann");
    EXPECT_EQ(socket->sent, "~W~[gb]Ann\xACNudge<BR>");
    EXPECT_EQ(fakes.view.chatTexts().back(), "{dfflag.bmp} Nudged {gbflag.bmp} Ann");

    form.Paste1Click("a<b>c");
    EXPECT_THAT(fakes.view.inputLines, testing::ElementsAre("abc"));
}

} // namespace
} // namespace tarmacia::app
