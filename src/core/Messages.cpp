#include "Messages.h"

#include <cstdio>

namespace korvan {

namespace {
int stderrHandler(const QString &text, int kind)
{
    static const char *labels[] = {"信息", "询问", "警告", "错误"};
    std::fprintf(stderr, "[%s] %s\n", labels[(kind >= 0 && kind <= 3) ? kind : 0], text.toUtf8().constData());
    return AnswerNo;
}

MessageHandler &handler()
{
    static MessageHandler h = stderrHandler;
    return h;
}
} // namespace

int ShowMess(const QString &text, int kind) { return handler()(text, kind); }

MessageHandler setMessageHandler(MessageHandler h)
{
    MessageHandler old = handler();
    handler() = h ? std::move(h) : MessageHandler(stderrHandler);
    return old;
}

ScriptedResponder::ScriptedResponder()
{
    m_previous = setMessageHandler([this](const QString &text, int kind) {
        m_shown << Shown{text, kind};
        if (kind != MsgQuestion) return 0;
        return m_answers.isEmpty() ? m_fallback : m_answers.takeFirst();
    });
}

ScriptedResponder::~ScriptedResponder() { setMessageHandler(m_previous); }

QStringList ScriptedResponder::texts() const
{
    QStringList out;
    for (const Shown &s : m_shown) out << s.text;
    return out;
}

} // namespace korvan
