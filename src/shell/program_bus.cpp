#include "program_bus.h"

#include "platform/logging.h"

#include <QDBusConnection>
#include <QDBusMetaType>

namespace velloran {
namespace {
constexpr const char* kServiceName = "org.velloran.Velloran";
constexpr const char* kObjectPath = "/org/velloran/Velloran";
constexpr const char* kErrorPrefix = "org.velloran.Velloran1.Error.";
} // namespace

ProgramBus::ProgramBus(Runner run, Lister list, QObject* parent)
    : QObject(parent), run_(std::move(run)), list_(std::move(list)) {
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

bool ProgramBus::publish() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(kObjectPath, this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)) {
        qCWarning(logStart, "cannot put %s on the session bus", kObjectPath);
        return false;
    }
    if (!bus.registerService(kServiceName)) {
        qCWarning(logStart, "the bus name %s is taken: %s", kServiceName,
                  qPrintable(bus.lastError().message()));
        return false;
    }
    return true;
}

std::string ProgramBus::call(const std::vector<std::string>& arguments) {
    CommandReply reply = run_(arguments);
    if (reply.status != 0) {
        while (!reply.text.empty() && reply.text.back() == '\n')
            reply.text.pop_back();
        sendErrorReply(QString::fromLatin1(kErrorPrefix) + QString::fromStdString(reply.refusal),
                       QString::fromStdString(reply.text));
    }
    return reply.text;
}

QList<QVariantMap> ProgramBus::List() {
    return list_();
}

uint ProgramBus::Add(const QVariantMap& task) {
    // The same request as the command line's: each entry is the option of its name.
    std::vector<std::string> arguments{"--add", task.value("kind").toString().toStdString()};
    for (auto entry = task.constBegin(); entry != task.constEnd(); ++entry) {
        if (entry.key() == QLatin1String("kind"))
            continue;
        const std::string option = "--" + entry.key().toStdString();
        if (entry.value().typeId() == QMetaType::Bool) {
            if (entry.value().toBool())
                arguments.push_back(option);
        } else {
            arguments.push_back(option);
            arguments.push_back(entry.value().toString().toStdString());
        }
    }
    return uint(std::stoul("0" + call(arguments)));
}

void ProgramBus::Remove(uint id) {
    call({"--remove", std::to_string(id)});
}

void ProgramBus::SetEnabled(uint id, bool enabled) {
    call({enabled ? "--enable" : "--disable", std::to_string(id)});
}

void ProgramBus::ShowNewTask(const QString& kind) {
    call({"--new", kind.toStdString()});
}

} // namespace velloran
