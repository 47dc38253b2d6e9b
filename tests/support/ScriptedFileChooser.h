#pragma once

#include "platform/ports/FileChooser.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <optional>
#include <utility>

namespace lexi::test {

// A file chooser whose panels stay open until the test answers them, as the learner would, and
// which remembers every panel it was asked to show.
class ScriptedFileChooser final : public FileChooser
{
public:
    enum class Kind { open, save };

    struct Request
    {
        Kind kind;
        FilePanel panel;
    };

    void chooseFileToOpen(const FilePanel &panel, QObject *receiver, Answer answer) override
    {
        ask(Kind::open, panel, receiver, std::move(answer));
    }
    void chooseFileToSave(const FilePanel &panel, QObject *receiver, Answer answer) override
    {
        ask(Kind::save, panel, receiver, std::move(answer));
    }

    bool isOpen() const { return m_answer != nullptr; }
    // The panel shown last.
    const Request &lastRequest() const { return requests.last(); }

    // The learner chose `path` (a save panel's answer gets its extension as the dialog's would)
    // or, with nothing, cancelled.
    void answer(const std::optional<QString> &path)
    {
        Answer answer = std::exchange(m_answer, nullptr);
        const QPointer<QObject> receiver = m_receiver;
        if (!answer || !receiver)
            return;
        if (path && lastRequest().kind == Kind::save)
            answer(withAllowedExtension(*path, lastRequest().panel.extensions));
        else
            answer(path);
    }
    void cancel() { answer(std::nullopt); }

    QList<Request> requests;

private:
    void ask(Kind kind, const FilePanel &panel, QObject *receiver, Answer answer)
    {
        requests.append({kind, panel});
        m_receiver = receiver;
        m_answer = std::move(answer);
    }

    QPointer<QObject> m_receiver;
    Answer m_answer;
};

} // namespace lexi::test
