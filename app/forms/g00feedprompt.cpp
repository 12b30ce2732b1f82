#include "g00feedprompt.h"

#include "numerictext.h"
#include "userprompts.h"

#include <cmath>

namespace {

// A feed must survive the conversion to single precision: 1e40 would become infinity.
bool isFeed(double value) {
    return std::isfinite(static_cast<float>(value));
}

} // namespace

float askG00Feed(UserPrompts& prompts, float feed, const QString& prompt,
                 const QString& retryNotice) {
    const QString defaultAnswer = shortestText(feed);
    QString notice;
    for (;;) {
        const QString answer = prompts.inputBox(notice + prompt, defaultAnswer);
        if (answer.isEmpty()) {
            return feed;
        }
        if (const auto value = numericValue(answer); value && isFeed(*value)) {
            return static_cast<float>(*value);
        }
        notice = retryNotice + QStringLiteral("\r\n\r\n");
        prompts.beep();
    }
}
