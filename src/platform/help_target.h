// The file that "&Help" opens: the manual in the user's language where there is one, else the compiled
// help file where the desktop has a program for it, otherwise the HTML manual, which any browser shows.
#pragma once

#include <QObject>
#include <functional>
#include <string>

namespace velloran {

inline constexpr const char* kHelpMimeType = "application/vnd.ms-htmlhelp";

// Asks the desktop's MIME registry (`xdg-mime query default`) without waiting on it: the answer comes
// through the event loop, so that a slow registry never stalls the window.
class HelpTarget : public QObject {
    Q_OBJECT
public:
    // programDirectory ends with '/'. language: the user's ("" for English), whose manual is preferred.
    explicit HelpTarget(std::string programDirectory, QObject* parent = nullptr, int timeoutMs = 2000,
                        QString queryProgram = QStringLiteral("xdg-mime"), std::string language = {});

    // Calls `open` with the path to open for help: at once when the answer cannot change it, else when
    // the desktop has answered. A query that fails, prints nothing or takes longer than the time limit
    // (it is then stopped) means no program is registered.
    void find(std::function<void(const std::string& path)> open);

private:
    std::string programDirectory_;
    int timeoutMs_;
    QString queryProgram_;
    std::string language_;
};

} // namespace velloran
