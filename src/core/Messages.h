#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace korvan {

// Kinds of ShowMess; a question answers 1 (yes) or 2 (no).
enum MessageKind { MsgInfo = 0, MsgQuestion = 1, MsgWarning = 2, MsgError = 3 };
enum MessageAnswer { AnswerYes = 1, AnswerNo = 2 };

using MessageHandler = std::function<int(const QString &text, int kind)>;

// Every message to the operator goes through here. The application installs
// a message box; without one, messages go to stderr and questions answer no.
int ShowMess(const QString &text, int kind);
MessageHandler setMessageHandler(MessageHandler handler);

// For tests: answers questions from a script and records every message shown.
class ScriptedResponder {
public:
    struct Shown { QString text; int kind; };
    ScriptedResponder();
    ~ScriptedResponder();
    // Queues answers for the next questions; when empty, questions get `fallback`.
    void answer(int reply) { m_answers << reply; }
    void setFallback(int reply) { m_fallback = reply; }
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QString last() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear() { m_shown.clear(); }
private:
    QList<int> m_answers;
    QList<Shown> m_shown;
    int m_fallback = AnswerYes;
    MessageHandler m_previous;
};

} // namespace korvan
