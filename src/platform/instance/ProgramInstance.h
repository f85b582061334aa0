#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

// One running Trovix per desktop session. The first instance owns the
// program's name on the session bus; later invocations (a second start, the
// command line) reach it through that name.
class ProgramInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim
    {
        Primary,        // this process is the one running Trovix
        AlreadyRunning, // another process owns the name
        NoSessionBus    // no bus to coordinate on: run alone
    };

    explicit ProgramInstance(QObject* parent = nullptr);
    ~ProgramInstance() override;

    // Claims the name and starts answering requests.
    Claim claim();

    // Opens a help page for the command line and calls answer, at once or
    // later, with whether the page exists.
    using HelpPageHandler =
        std::function<void(const QString& page, std::function<void(bool exists)> answer)>;
    void setHelpPageHandler(HelpPageHandler handler) { m_helpPageHandler = std::move(handler); }

    // Requests to the running instance. Each answers whether it was delivered;
    // on failure, error (when given) holds a one-line reason.
    static bool requestReopen(QString* error = nullptr);
    static bool requestPopUp(bool allApplications, QString* error = nullptr);
    // Brings one of the program's windows forward ("log", "preferences",
    // "about", "help").
    static bool requestShow(const QString& window, QString* error = nullptr);
    // Opens a help page ("PAGE" or "PAGE#ANCHOR") in the running instance:
    // whether the help book has that page, or nothing (and error) when the
    // request did not get an answer.
    static std::optional<bool> requestShowHelpPage(const QString& page, QString* error = nullptr);

Q_SIGNALS:
    // Another start of the program asked this one to reopen.
    void reopenRequested();
    // The command line asked for the pop-up menu at the pointer.
    void popUpRequested(bool allApplications);
    // The command line asked to bring a window forward.
    void showRequested(const QString& window);

private:
    friend class InstanceAdaptor;
    HelpPageHandler m_helpPageHandler;
};

} // namespace platform
