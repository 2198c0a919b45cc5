// The program on the session bus: org.velloran.Velloran at /org/velloran/Velloran, interface
// org.velloran.Velloran1 (resources/org.velloran.Velloran1.xml), for scripts and other programs. Each call is
// the command line's request with the same checks and texts; a refusal is the error
// org.velloran.Velloran1.Error.InvalidTask or .UnknownTask.
#pragma once

#include "command_request.h"

#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QVariantMap>
#include <functional>
#include <string>
#include <vector>

namespace velloran {

class ProgramBus : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.velloran.Velloran1")
public:
    using Runner = std::function<CommandReply(const std::vector<std::string>& arguments)>;
    using Lister = std::function<QList<QVariantMap>()>;
    ProgramBus(Runner run, Lister list, QObject* parent = nullptr);

    // Puts the object on the session bus and takes the name; false (and a line in the log) where either
    // cannot be had: no bus, or another Velloran of this user has the name.
    bool publish();

public slots:
    QList<QVariantMap> List();
    uint Add(const QVariantMap& task);
    void Remove(uint id);
    void SetEnabled(uint id, bool enabled);
    void ShowNewTask(const QString& kind);

signals:
    void TasksChanged();

private:
    // The reply's text on success; otherwise the call ends with the bus error.
    std::string call(const std::vector<std::string>& arguments);

    Runner run_;
    Lister list_;
};

} // namespace velloran
