#include "forms/g00feedprompt.h"
#include "apptestsupport.h"

#include <gtest/gtest.h>

namespace {

const QString kPrompt = QStringLiteral("Input the feed rate of G00");
const QString kRetry = QStringLiteral("Input numerical value!!");

TEST(AskG00Feed, AnswersGiveTheNewFeed) {
    const struct {
        std::deque<QString> answers;
        float expected;
        int beeps;
    } cases[] = {
        {{QStringLiteral("2500.5")}, 2500.5f, 0},
        {{QStringLiteral("abc"), QStringLiteral("2500.5")}, 2500.5f, 1},
        {{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("-7")}, -7.0f, 2},
        {{QStringLiteral("0")}, 0.0f, 0},
        {{QString()}, 5000.0f, 0},
        {{QStringLiteral("abc"), QString()}, 5000.0f, 1},
        // Beyond the single-precision range: no feed a chart can use.
        {{QStringLiteral("1e40"), QStringLiteral("2500")}, 2500.0f, 1},
        {{QStringLiteral("-1e39"), QStringLiteral("3.5e38"), QString()}, 5000.0f, 2},
        {{QStringLiteral("3.4e38")}, 3.4e38f, 0},
    };
    for (const auto& c : cases) {
        apptest::ScriptedPrompts prompts;
        prompts.inputs = c.answers;
        EXPECT_EQ(askG00Feed(prompts, 5000.0f, kPrompt, kRetry), c.expected);
        EXPECT_EQ(prompts.beeps, c.beeps);
    }
}

TEST(AskG00Feed, RetryPutsTheNoticeOnceBeforeThePromptWithTheOldDefault) {
    apptest::ScriptedPrompts prompts;
    prompts.inputs = {QStringLiteral("abc"), QStringLiteral("1x5"), QString()};
    EXPECT_EQ(askG00Feed(prompts, 2500.5f, kPrompt, kRetry), 2500.5f);
    ASSERT_EQ(prompts.inputPrompts.size(), 3u);
    EXPECT_EQ(prompts.inputPrompts[0], kPrompt);
    const QString retried = kRetry + QStringLiteral("\r\n\r\n") + kPrompt;
    EXPECT_EQ(prompts.inputPrompts[1], retried);
    EXPECT_EQ(prompts.inputPrompts[2], retried);
    EXPECT_EQ(prompts.inputDefaults, std::vector<QString>(3, QStringLiteral("2500.5")));
}

} // namespace
