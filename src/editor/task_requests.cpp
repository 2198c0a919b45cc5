#include "task_requests.h"

#include "common/product.h"
#include "common/version.h"
#include "editor/editor_files.h"
#include "files/file_io.h"
#include "files/program_directory.h"
#include "files/task_file_lock.h"
#include "platform/translated_message.h"
#include "prefs/settings_store.h"
#include "registry/registry_file.h"
#include "scheduler/program_search.h"
#include "shell/second_start.h"

#include <QCoreApplication>
#include <cstdio>

namespace velloran {
namespace {

constexpr int kDone = 0, kCannotUse = 1, kRefused = 2;

constexpr const char* kTaskFileInUse = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Another Velloran that this user cannot reach uses the task file \"%1\".\nNothing was changed.");
constexpr const char* kNoAnswer = QT_TRANSLATE_NOOP(
    "CommandLine", "The running Velloran did not answer.\nThe request may or may not have been carried out.");
constexpr const char* kCannotLockFile =
    QT_TRANSLATE_NOOP("CommandLine", "%1\nThe task file \"%2\" cannot be locked, so it was not changed.");
constexpr const char* kNotSaved = QT_TRANSLATE_NOOP("CommandLine", "The tasks could not be saved.\n%1");

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        std::fputc('\n', stream);
}

int printReply(const CommandReply& reply) {
    const QByteArray text = QByteArray::fromStdString(reply.text);
    std::fwrite(text.constData(), 1, std::size_t(text.size()), reply.status == 0 ? stdout : stderr);
    return reply.status;
}

QString usageText() {
    return QCoreApplication::translate(kCommandContext, kUsageText).arg(QStringLiteral("velloran"));
}

bool changesTasks(CommandAction action) {
    return action == CommandAction::Add || action == CommandAction::Remove ||
           action == CommandAction::Enable || action == CommandAction::Disable;
}

// The request goes to the running Velloran that holds the task file; nullopt where this process holds
// it now; otherwise the exit status after telling why.
std::optional<int> passToOwner(TaskFileLock& lock, const std::vector<std::string>& arguments,
                               const std::string& taskFile) {
    const Result<FileLock::State> locked = lock.tryLock(kClosingWait);
    if (!locked) {
        print(stderr, translated(Message(kCommandContext, kCannotLockFile, {locked.error(), taskFile})));
        return kCannotUse;
    }
    if (*locked == FileLock::State::Held)
        return std::nullopt;
    const auto owner = reachableOwner(lock.holder());
    if (owner == nullptr) {
        print(stderr, translated(Message(kCommandContext, kTaskFileInUse, {taskFile})));
        return kCannotUse;
    }
    if (const auto reply = owner->sendCommand(arguments))
        return printReply(*reply);
    print(stderr, translated(Message(kCommandContext, kNoAnswer)));
    return kCannotUse;
}

} // namespace

CommandContext commandContextFor(const std::string& programDirectory, const FontBlock& memoFont) {
    SystemClock clock;
    CommandContext context;
    context.now = clock.now();
    context.unixSecondsNow = static_cast<std::uint32_t>(clock.unixSeconds());
    context.pathExists = pathExists;
    context.programExists = [programs = programSearchOf(programDirectory)](const std::string& target) {
        return findProgram(target, programs).has_value();
    };
    context.alarmSounds = listAlarmSounds(programDirectory + "Sounds");
    context.memoFont = memoFont;
    context.home = homeFolder();
    return context;
}

QString refusalText(const CommandError& error) {
    const QString text = translated(error.text);
    return error.refusal == Refusal::Usage ? text + "\n\n" + usageText() : text;
}

Result<std::string, CommandError> TaskRequests::run(const std::vector<std::string>& arguments) {
    const Result<Command, CommandError> command = readCommandLine(arguments);
    if (!command)
        return failure(command.error());
    if (command->action == CommandAction::NewTask) {
        showNewTask_(command->kind);
        return std::string();
    }
    auto applied = applyCommand(*command, tasks_, context_());
    if (applied && changesTasks(command->action))
        changed_();
    return applied;
}

CommandReply TaskRequests::answer(const std::vector<std::string>& arguments) {
    const Result<std::string, CommandError> outcome = run(arguments);
    if (!outcome)
        return {kRefused, refusalText(outcome.error()).toStdString() + "\n",
                outcome.error().refusal == Refusal::UnknownTask ? "UnknownTask" : "InvalidTask"};
    return {kDone, *outcome, {}};
}

QList<QVariantMap> busListing(const TaskStore& tasks) {
    QList<QVariantMap> listing;
    for (const TaskListing& row : listTasks(tasks)) {
        listing.append(QVariantMap{{"id", uint(row.id)},
                                   {"kind", QString::fromStdString(row.kind)},
                                   {"next", QString::fromStdString(row.nextRun)},
                                   {"repeat", QString::fromStdString(row.repeat)},
                                   {"enabled", row.enabled},
                                   {"target", QString::fromStdString(row.target)},
                                   {"description", QString::fromStdString(row.description)}});
    }
    return listing;
}

bool handToRunningInstance(const std::vector<std::string>& arguments, const std::string& taskFile,
                           int& status) {
    TaskFileLock lock(taskFile);
    const std::optional<int> passed = passToOwner(lock, arguments, taskFile);
    if (!passed)
        return false;
    status = *passed;
    return true;
}

int runCommandLine(const Command& command, const std::vector<std::string>& arguments,
                   const std::string& taskFile, const std::string& programDirectory) {
    switch (command.action) {
    case CommandAction::Help:
        print(stdout, usageText());
        return kDone;
    case CommandAction::Version:
        print(stdout, QStringLiteral("%1 %2").arg(QString::fromLatin1(kProgramName),
                                                  QString::fromLatin1(kProgramVersion)));
        return kDone;
    default:
        break;
    }
    TaskFileLock lock(taskFile);
    if (const std::optional<int> passed = passToOwner(lock, arguments, taskFile))
        return *passed;
    // No Velloran runs on the task file: this process holds it until it ends.
    TaskStore tasks(taskFile, journalPathFor(taskFile, userStateFolder()));
    tasks.open();
    for (const Message& notice : tasks.takeNotices())
        print(stderr, translated(notice));
    FileRegistry registry;
    SettingsRecord settings = zeroSettings();
    (void)loadSettings(registry, settings);
    const auto applied =
        applyCommand(command, tasks, commandContextFor(programDirectory, settings.DefaultFont));
    if (!applied) {
        print(stderr, refusalText(applied.error()));
        return kRefused;
    }
    if (changesTasks(command.action)) {
        if (const Result<void> saved = tasks.save(); !saved) {
            print(stderr, translated(Message(kCommandContext, kNotSaved, {saved.error()})));
            return kCannotUse;
        }
    }
    const QByteArray out = QByteArray::fromStdString(*applied);
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    return kDone;
}

} // namespace velloran
