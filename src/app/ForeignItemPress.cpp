#include "app/ForeignItemPress.h"

#include <QEventLoop>
#include <QTimer>
#include <memory>

namespace {

// How much longer than the messaging timeout a press waits for its answer.
constexpr int AnswerGraceMs = 500;

} // namespace

std::optional<platform::ActionReply> pressForeignItem(const platform::AccessibilityElement& item,
                                                      float timeout)
{
    struct Wait
    {
        std::optional<platform::ActionReply> reply;
        QEventLoop* loop = nullptr;
    };
    const auto wait = std::make_shared<Wait>();
    QEventLoop loop;
    const bool sent =
        item.performAction(QStringLiteral("AXPress"), [wait](platform::ActionReply reply) {
            wait->reply = reply;
            if (wait->loop) {
                wait->loop->quit();
            }
        });
    if (!sent) {
        return std::nullopt;
    }
    if (!wait->reply) {
        wait->loop = &loop;
        QTimer::singleShot(qRound(timeout * 1000.0f) + AnswerGraceMs, &loop, &QEventLoop::quit);
        loop.exec();
        wait->loop = nullptr;
    }
    return wait->reply.value_or(platform::ActionReply::NoReply);
}
