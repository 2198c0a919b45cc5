#include "child_environment.h"

#include <QMap>
#include <QString>
#include <cstdlib>
#include <optional>

namespace velloran {
namespace {

// Each own variable with the value it had before, or none when it was unset.
QMap<QString, std::optional<QString>>& ownVariables() {
    static QMap<QString, std::optional<QString>> variables;
    return variables;
}

} // namespace

void setOwnVariable(const char* name, const char* value) {
    const QString key = QString::fromLocal8Bit(name);
    if (!ownVariables().contains(key)) {
        const char* before = std::getenv(name);
        ownVariables().insert(key, before != nullptr ? std::optional(QString::fromLocal8Bit(before))
                                                     : std::nullopt);
    }
    ::setenv(name, value, 1);
}

QProcessEnvironment childEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (auto it = ownVariables().cbegin(); it != ownVariables().cend(); ++it) {
        if (it.value())
            environment.insert(it.key(), *it.value());
        else
            environment.remove(it.key());
    }
    return environment;
}

} // namespace velloran
